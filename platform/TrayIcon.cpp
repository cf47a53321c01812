// The notification-area icon over QSystemTrayIcon, and its fake.
#include "platform/TrayIcon.h"

#include <QMenu>
#include <QSystemTrayIcon>

namespace ven {
namespace {

std::function<std::unique_ptr<TrayIcon>()>& maker()
{
    static std::function<std::unique_ptr<TrayIcon>()> m;
    return m;
}

class SystemTrayIcon final : public TrayIcon {
public:
    SystemTrayIcon()
    {
        QObject::connect(&icon_, &QSystemTrayIcon::activated, &icon_, [this](QSystemTrayIcon::ActivationReason r) {
            Click c;
            switch (r) {
            case QSystemTrayIcon::Trigger: c = Click::Left; break;
            case QSystemTrayIcon::DoubleClick: c = Click::DoubleClick; break;
            case QSystemTrayIcon::Context: c = Click::Right; break;
            case QSystemTrayIcon::MiddleClick: c = Click::Middle; break;
            default: return;
            }
            if (onClick)
                onClick(c);
        });
    }

    bool available() const override { return QSystemTrayIcon::isSystemTrayAvailable(); }
    bool show() override
    {
        if (!available())
            return false;
        icon_.show();
        return icon_.isVisible();
    }
    bool hide() override
    {
        icon_.hide();
        return !icon_.isVisible();
    }
    bool isShown() const override { return icon_.isVisible(); }
    void setIcon(const QIcon& icon) override { icon_.setIcon(icon); }
    void setTip(const QString& tip) override { icon_.setToolTip(tip); }
    QString tip() const override { return icon_.toolTip(); }
    void setMenu(std::vector<MenuItem> items) override
    {
        // The desktop opens the menu itself (it may live in another process).
        menu_.clear();
        for (MenuItem& item : items) {
            if (item.text == u"-")
                menu_.addSeparator();
            else if (QAction* a = menu_.addAction(item.text); item.chosen)
                QObject::connect(a, &QAction::triggered, &menu_, std::move(item.chosen));
        }
        icon_.setContextMenu(items.empty() ? nullptr : &menu_);
    }

private:
    QMenu menu_;  // declared before the icon, which refers to it, so it goes after
    QSystemTrayIcon icon_;
};

} // namespace

std::unique_ptr<TrayIcon> makeSystemTrayIcon() { return std::make_unique<SystemTrayIcon>(); }

std::unique_ptr<TrayIcon> makeTrayIcon() { return maker() ? maker()() : makeSystemTrayIcon(); }

void setTrayIconMaker(std::function<std::unique_ptr<TrayIcon>()> m) { maker() = std::move(m); }

// ------------------------------------------------------------------ fake --

bool FakeTrayIcon::show()
{
    if (!available_)
        return false;
    shown_ = true;
    return true;
}

bool FakeTrayIcon::hide()
{
    if (shown_ && removalFails_)
        return false;
    shown_ = false;
    return true;
}

QStringList FakeTrayIcon::menu() const
{
    QStringList texts;
    for (const MenuItem& m : menu_)
        texts << m.text;
    return texts;
}

void FakeTrayIcon::click(Click c)
{
    if (shown_ && onClick)
        onClick(c);
}

bool FakeTrayIcon::choose(const QString& text)
{
    if (!shown_)
        return false;
    click(Click::Right);
    for (const MenuItem& m : menu_) {
        if (m.text == text && text != u"-") {
            const std::function<void()> chosen = m.chosen;  // it may replace the menu
            if (chosen)
                chosen();
            return true;
        }
    }
    return false;
}

} // namespace ven
