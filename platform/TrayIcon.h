// The notification-area icon: its picture, tip, menu and clicks behind a
// small interface, so that the frame's use of it is tested with a fake.
//
// The system's icon shows only where the desktop has a notification area
// (QSystemTrayIcon::isSystemTrayAvailable()); elsewhere show() refuses and
// the caller keeps its window an ordinary minimised one, reachable from the
// task bar. GUI thread only.
#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace ven {

class TrayIcon {
public:
    enum class Click : uint8_t {
        Left,         // the left button released
        DoubleClick,  // a left double click
        Right,        // the right button released (the menu opens as well)
        Middle,
    };
    // A menu entry: its text ("&" marks the mnemonic), "-" for a separator.
    struct MenuItem {
        QString text;
        std::function<void()> chosen;
    };

    virtual ~TrayIcon() = default;
    // Whether the desktop has a notification area now.
    virtual bool available() const = 0;
    // Puts the icon in the notification area; false (and nothing shown)
    // where there is none.
    virtual bool show() = 0;
    // Takes the icon away; false when it could not be removed.
    virtual bool hide() = 0;
    virtual bool isShown() const = 0;
    virtual void setIcon(const QIcon& icon) = 0;
    virtual void setTip(const QString& tip) = 0;
    virtual QString tip() const = 0;
    // The menu that a right click opens.
    virtual void setMenu(std::vector<MenuItem> items) = 0;

    // Hears every click on the icon.
    std::function<void(Click)> onClick;
};

// The icon for the frame: the system's, or what a test put in its place.
std::unique_ptr<TrayIcon> makeTrayIcon();
// Tests make every later makeTrayIcon() call `maker`; an empty one restores the system's.
void setTrayIconMaker(std::function<std::unique_ptr<TrayIcon>()> maker);

// The system's icon, over QSystemTrayIcon.
std::unique_ptr<TrayIcon> makeSystemTrayIcon();

// A notification area for tests: it records what is shown and lets a test
// click the icon and choose from its menu.
class FakeTrayIcon final : public TrayIcon {
public:
    explicit FakeTrayIcon(bool available = true) : available_(available) {}

    bool available() const override { return available_; }
    bool show() override;
    bool hide() override;
    bool isShown() const override { return shown_; }
    void setIcon(const QIcon& icon) override { icon_ = icon; }
    void setTip(const QString& tip) override { tip_ = tip; }
    QString tip() const override { return tip_; }
    void setMenu(std::vector<MenuItem> items) override { menu_ = std::move(items); }

    // The desktop's state: whether it has a notification area, whether it
    // refuses to remove the icon.
    void setAvailable(bool on) { available_ = on; }
    void setRemovalFails(bool on) { removalFails_ = on; }
    const QIcon& icon() const { return icon_; }
    // The menu's texts, separators as "-".
    QStringList menu() const;
    // A click as a person makes it; nothing while the icon is not shown.
    void click(Click c);
    // A right click and the choice of `text` from the menu; false when the
    // icon is not shown or the menu has no such entry.
    bool choose(const QString& text);

private:
    bool available_;
    bool shown_ = false;
    bool removalFails_ = false;
    QIcon icon_;
    QString tip_;
    std::vector<MenuItem> menu_;
};

} // namespace ven
