#include "platform/accessibility.h"

#include "platform/controls.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace vorn {

namespace {

// A picture or label that reacts to a click: a button whose press action clicks it.
class ClickableAccessible : public QAccessibleWidget {
public:
    ClickableAccessible(QWidget* widget, std::function<void()> press)
        : QAccessibleWidget(widget, QAccessible::Button)
        , m_press(std::move(press)) {
        addControllingSignal(QStringLiteral("Click()"));
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        if (action == pressAction() && widget()->isEnabled())
            m_press();
    }

private:
    std::function<void()> m_press;
};

QAccessibleInterface* factory(const QString& className, QObject* object) {
    if (className == QLatin1String("vorn::Image") ||
        className == QLatin1String("vorn::PictureBox")) {
        auto* image = static_cast<Image*>(object);
        if (image->isClickable())
            return new ClickableAccessible(image, [image] { Q_EMIT image->Click(); });
        return new QAccessibleWidget(image, QAccessible::Graphic);
    }
    if (className == QLatin1String("vorn::Label")) {
        auto* label = static_cast<Label*>(object);
        if (label->isClickable())
            return new ClickableAccessible(label, [label] { Q_EMIT label->Click(); });
    }
    return nullptr;
}

} // namespace

void installAccessibility() {
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(factory);
        installed = true;
    }
}

} // namespace vorn
