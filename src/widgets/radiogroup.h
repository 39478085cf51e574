#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

namespace tessaly {

// A framed column of radio buttons chosen by item index: -1 means none, an
// index beyond the last item selects the last one.
class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit RadioGroup(QWidget* parent = nullptr);

    void setItems(const QStringList& items);
    QStringList items() const { return m_items; }
    int itemIndex() const;
    void setItemIndex(int index);
    QRadioButton* button(int index) const;

signals:
    // The user or the program changed the selected item.
    void itemIndexChanged(int index);

private:
    QStringList m_items;
    QButtonGroup* m_group;
};

}  // namespace tessaly
