#include "widgets/radiogroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tessaly {

RadioGroup::RadioGroup(QWidget* parent) : QGroupBox(parent), m_group(new QButtonGroup(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->setSpacing(2);
    connect(m_group, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            emit itemIndexChanged(id);
    });
}

void RadioGroup::setItems(const QStringList& items)
{
    for (QAbstractButton* old : m_group->buttons()) {
        m_group->removeButton(old);
        delete old;
    }
    m_items = items;
    for (int index = 0; index < items.size(); ++index) {
        auto* radio = new QRadioButton(items[index], this);
        m_group->addButton(radio, index);
        layout()->addWidget(radio);
    }
}

int RadioGroup::itemIndex() const
{
    return m_group->checkedId();
}

void RadioGroup::setItemIndex(int index)
{
    if (m_items.isEmpty())
        return;
    if (index < 0) {
        m_group->setExclusive(false);
        for (QAbstractButton* radio : m_group->buttons())
            radio->setChecked(false);
        m_group->setExclusive(true);
        return;
    }
    m_group->button(std::min<int>(index, int(m_items.size()) - 1))->setChecked(true);
}

QRadioButton* RadioGroup::button(int index) const
{
    return qobject_cast<QRadioButton*>(m_group->button(index));
}

}  // namespace tessaly
