#include "app/wizard.h"

#include "widgets/gradientbutton.h"

namespace tessaly {

namespace {

const QColor kHoverGrey(128, 128, 128);
const QColor kLime(0, 255, 0);
const QColor kGreen(0, 128, 0);

}  // namespace

void useWizardHoverColours(GradientButton* button)
{
    QObject::connect(button, &GradientButton::mouseEntered, button, [button] { button->setColors(kHoverGrey, kLime); });
    QObject::connect(button, &GradientButton::mouseLeft, button,
                     [button] { button->setColors(kHoverGrey, kHoverGrey); });
}

void useGoHoverColours(GradientButton* button)
{
    button->setColors(kGreen, kGreen);
    QObject::connect(button, &GradientButton::mouseEntered, button, [button] { button->setColors(kGreen, kLime); });
    QObject::connect(button, &GradientButton::mouseLeft, button, [button] { button->setColors(kGreen, kGreen); });
}

}  // namespace tessaly
