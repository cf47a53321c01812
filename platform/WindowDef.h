// Window definitions as data, and the window built from one: controls
// declared by kind, name, text, place and size in dialog units, picture,
// tip, font and colours, found again by name, and bound to variables
// through their pictures.
//
// GUI thread only. A window whose definition says it is a child of the
// frame lives in the frame's MDI area once one is registered; the others
// are top-level windows.
#pragma once

#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include <QTableView>

class QMdiArea;
class QPainter;
class QMdiSubWindow;
class QButtonGroup;
class QLabel;
class QStatusBar;
class QAbstractButton;

namespace ven {

enum class Kind : uint8_t {
    Prompt,    // a label
    String,    // text shown, not typed (may be bound, with a picture)
    Entry,     // one line typed through a picture
    Text,      // several lines of text
    Spin,      // a number, date or time stepped by arrows within low..high
    Check,     // 1 ticked, 0 not
    Option,    // the frame of a group of radios; bound to the chosen radio's value
    Radio,     // one choice of the option named as its parent
    Button,
    List,      // a table of rows (a browse list's view)
    Combo,     // a drop list; `text` holds its choices separated by "|"
    Sheet,     // tabs; its tabs name it as parent
    Tab,       // one tab; controls naming it as parent show only while it is chosen
    Image,     // the picture file named in `icon`
    Progress,  // a bar over low..high (0..100 when both are 0)
    Group,     // a framed group
    Region,    // an invisible area that takes clicks; heard as MouseIn when the mouse enters it
    Line,      // a line from (x, y) to (x + w, y + h); w and h may be negative
};

// Control flags.
enum : uint32_t {
    Default = 1u << 0,   // the button that Enter presses
    Hidden = 1u << 1,
    Disabled = 1u << 2,
    ReadOnly = 1u << 3,
    Password = 1u << 4,  // typed text shows as asterisks
    HelpButton = 1u << 5, // opens the window's help topic
    AlignRight = 1u << 6,
    Required = 1u << 7,   // a form's OK refuses it blank (message "Mandatory")
    Upper = 1u << 8,      // typed text becomes upper case
    Capitalize = 1u << 9, // typed text gets each word's first letter in upper case
};

// The Shift, Alt and Ctrl steps of a spin's Up key (Down steps back). A
// stepped value is rounded to the nearest multiple of `snap` (a time's
// to the whole five minutes: 1 is midnight), an upward step stops at
// `cap` and a downward one at the control's low; 0 leaves each out.
struct StepKeys {
    int64_t shift = 0, alt = 0, ctrl = 0;
    int64_t snap = 0;
    int64_t cap = 0;
};
// A time spin's keys: Shift 5 minutes, Alt 10, Ctrl an hour, on the five minutes.
extern const StepKeys kTimeStepKeys;

inline constexpr uint32_t kNoColor = 0xFFFFFFFFu;

struct FontDef {
    const char* family = nullptr;  // nullptr: the window's (or the application's) font
    int points = 0;
    bool bold = false;
    bool italic = false;
};

// One control. Coordinates and sizes are dialog units of the window's font.
struct ControlDef {
    const char* name;            // the name the window's code finds it by
    Kind kind;
    const char* text = "";       // caption, prompt or button text ("&" marks the mnemonic)
    int x = 0, y = 0, w = 0, h = 0;
    const char* parent = "";     // the tab, option or group it belongs to
    const char* picture = "";    // display and entry picture ("D06-B", "n03B", "s40")
    const char* tip = "";
    const char* use = "";        // a form's record field ("DRY:LEGEND"); a radio's value
    const char* icon = "";       // button icon or image file
    int64_t low = 0, high = 0;   // spin and progress range
    uint32_t flags = 0;
    uint8_t closes = 0;          // a button that closes the window with this response
    FontDef font{};
    uint32_t color = kNoColor;   // text colour 0xRRGGBB
    uint32_t background = kNoColor;
    int stroke = 1;              // a line's width in pixels
    int64_t step = 0;            // a spin's arrow step (0: one)
    const StepKeys* keys = nullptr;  // a spin's Shift/Alt/Ctrl steps
};

// How a top-level window is framed.
enum class Frame : uint8_t {
    Normal,   // a title bar with the window system's buttons
    NoTitle,  // a border without a title bar
    Tool,     // no frame at all, no task-bar entry, above the other windows
};

// Where a top-level window opens (a saved placement, restored afterwards,
// still wins). Every placement keeps the window on the screen's available area.
enum class Placement : uint8_t {
    Default,  // where the window system puts it
    Fixed,    // at the definition's x, y (dialog units from the area's top left)
    Centred,  // in the middle of the area
};

struct WindowDef {
    const char* title;
    int w = 0, h = 0;            // dialog units
    const char* icon = "";
    FontDef font{};
    bool mdi = false;            // a child of the frame
    bool resizable = false;      // controls keep their relative places when it is resized;
                                 // otherwise the largest list takes the change of size
    int timer = 0;               // the window's timer in hundredths of a second, 0 none
    Frame frame = Frame::Normal;
    bool onTop = false;          // stays above the other windows
    Placement placement = Placement::Default;
    int x = 0, y = 0;            // a fixed placement, dialog units
    // A status bar of zones under the controls: each zone's width in dialog
    // units, -1 for a zone that takes the rest.
    std::vector<int> statusZones = {};
    std::vector<ControlDef> controls = {};
};

// Converts dialog units to pixels for a font: a horizontal unit is a
// quarter of the font's average character width, a vertical unit an
// eighth of its height.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);
    int x(int units) const;
    int y(int units) const;
    int toUnitsX(int pixels) const;
    QRect rect(int x, int y, int w, int h) const;

private:
    double cx_, cy_;
};

// The frame's MDI area that windows declared as frame children join; none
// (nullptr) makes every window top-level.
void setFrameArea(QMdiArea* area);
QMdiArea* frameArea();

// Where a picture file is looked for: an absolute path that exists is
// itself; a relative name is looked for in the program folder; otherwise
// the program's own picture or sound of that file name, if it has one.
QString findPictureFile(const QString& name);

// Paints a wallpaper image into `r` in its style: stretched over it, tiled,
// centred, or at its top-left corner when no flag is set.
void paintWallpaper(QPainter& p, const QRect& r, const QPixmap& image, bool tiled, bool centered, bool stretched);

enum class FieldEvent : uint8_t {
    Accepted,      // a button pressed, an entry or choice completed
    NewSelection,  // a list row, spin step or drop-list choice changed
    Selected,      // the control got the focus
    AlertKey,      // an alert key of the control was pressed
    RightClick,
    DoubleClick,
    MouseIn,       // the mouse entered a region
    MiddleClick,   // the middle mouse button was pressed on the control
};

class Window;

// The view of a List control.
class ListView : public QTableView {
    Q_OBJECT
public:
    using QTableView::QTableView;
    using QTableView::updateGeometries;  // lets a list lay out rows it has just added
};

// What a window reports to the object that drives it (its controller).
class WindowSink {
public:
    virtual ~WindowSink() = default;
    virtual void fieldEventFrom(const QString& control, FieldEvent e) = 0;
    virtual void alertKeyFrom(int key, const QString& control) = 0;  // control "" the window
    virtual bool closeFromUser() = 0;  // false keeps the window open
    // Esc that no control took; true when the window took it as its cancel.
    virtual bool cancelFromUser() { return false; }
    // The window, or its place as the frame area's active child, was
    // activated or deactivated.
    virtual void activationChangedFrom() = 0;
    virtual void stateChangedFrom(Qt::WindowStates old, Qt::WindowStates now) = 0;
};

// A handle on one control, safe to use when the name is unknown: then
// every call does nothing and reads give empty values.
class Control {
public:
    Control() = default;
    Control(Window* w, const ControlDef* def, QWidget* widget);

    bool exists() const { return widget_ != nullptr; }
    const QString& name() const { return name_; }
    Kind kind() const;
    QWidget* widget() const { return widget_; }
    template <class W> W* as() const { return qobject_cast<W*>(widget_.data()); }

    QString text() const;               // what it shows (an entry's typed text)
    void setText(const QString& text);  // caption, prompt, entry text, window of a string
    // An image's picture file (found as findPictureFile finds it); blank clears it.
    void setPicture(const QString& file);
    QString picture() const;            // the file an image was last given
    QVariant value() const;             // the value read through the picture
    void setValue(const QVariant& v);   // shown through the picture
    void show(bool on = true);
    void hide() { show(false); }
    bool isVisible() const;             // shown by its own state (tabs aside)
    bool isShown() const;               // shown by its own state and its parents' (tabs aside)
    void enable(bool on = true);
    void disable() { enable(false); }
    bool isEnabled() const;
    void select();                      // gives it the focus
    QString tip() const;
    // A line's extent in dialog units (signed: the far end is its anchor
    // plus w, h); other controls ignore it and read as 0, 0.
    void setLine(int w, int h);
    QSize lineSize() const;

private:
    Window* window_ = nullptr;
    const ControlDef* def_ = nullptr;
    QPointer<QWidget> widget_;
    QString name_;
};

// A variable bound to a control: read and written as a QVariant (a number
// or a text), shown and read back through the control's picture.
struct Binding {
    std::function<QVariant()> get;
    std::function<void(const QVariant&)> set;
    // The most characters the variable stores (a text box's line ends
    // counting as CR LF): the control takes no more. 0: the picture's.
    int maxChars = 0;
    // Refuses a value the variable cannot hold: it tells the user why
    // (when `tell`) and returns false; the control keeps the typed text and
    // the cursor.
    std::function<bool(const QVariant&, bool tell)> accepts = {};
};
Binding bindTo(int32_t& v);
Binding bindTo(uint8_t& v);
Binding bindTo(int64_t& v);
Binding bindTo(double& v);
Binding bindTo(QString& v);

// A window built from its definition. Controls are children of the window
// at their declared places (tab pages show and hide theirs).
class Window : public QWidget {
    Q_OBJECT
public:
    explicit Window(const WindowDef& def, WindowSink* sink = nullptr);
    ~Window() override;

    const WindowDef& def() const { return def_; }
    // The widget that is the window on screen: the MDI sub-window of a
    // frame child, else the window itself.
    QWidget* outer() const;
    bool isMdiChild() const { return sub_ != nullptr; }
    // Takes a child of the frame out of the frame's area (a window that
    // was never shown, before the window that called it comes forward:
    // the area would otherwise make another child active as it goes).
    void leaveFrameArea();
    const DialogUnits& units() const { return units_; }

    // The control with that name; an empty handle (and one warning) when
    // the definition has none.
    Control control(const QString& name);
    bool hasControl(const QString& name) const;
    QStringList controlNames() const;
    const ControlDef* controlDef(const QString& name) const;
    // The name of the control that holds the focus, "" for none.
    QString focusedControl() const;

    void setTitle(const QString& title);
    QString title() const;

    // Binds a control to a variable (replacing an earlier binding).
    void bind(const QString& control, Binding b);
    // Shows every bound variable in its control (redisplay).
    void display();
    void display(const QString& control);
    // Reads a control back into its variable, typed text not yet accepted
    // included; false when the text does not read by the picture or the
    // binding refuses the value: the user is told, the variable keeps its
    // value, and the control keeps the typed text and gets the cursor.
    // `tell` false reads quietly: a refused text is only kept.
    bool update(const QString& control, bool tell = true);
    // The bound text boxes whose text was changed since they were shown
    // are read back, and each is heard as accepted (text boxes report no
    // acceptance of their own); `except` is left for its own event.
    void takeTextBoxes(const QString& except = {});
    // While a control's accept runs (and while an `AcceptPass` lives), the
    // focus leaving a field starts no accept of that field: a rule that
    // moves the focus runs once, is not answered by the rule of the field
    // it leaves, and the field left keeps its typed text. Two fields whose
    // rules claim the focus from each other end with the one the running
    // rule named.
    class AcceptPass {
    public:
        explicit AcceptPass(Window& w) : w_(&w) { ++w.accepting_; }
        ~AcceptPass()
        {
            if (w_)  // a rule's message box may have let the window end
                --w_->accepting_;
        }
        AcceptPass(const AcceptPass&) = delete;
        AcceptPass& operator=(const AcceptPass&) = delete;

    private:
        QPointer<Window> w_;
    };
    // The button that Enter presses: the focused button, else the window's
    // default button when it is shown and enabled; nullptr for none.
    QAbstractButton* enterButton() const;
    // Makes a button the window's default in place of the one declared
    // `Default` (a list in select mode makes its Select the default); ""
    // goes back to the declared one.
    void setDefaultButton(const QString& button);
    // A window that would open with the focus on a button other than its
    // default gives the focus to the default, so that Enter presses the
    // button drawn as the default. Runs before the window's own opening
    // event, which may put the focus elsewhere.
    void focusOpeningControl();
    bool isBound(const QString& control) const { return bindings_.count(control) > 0; }

    // The chosen tab of a sheet, 1 for the first; 0 for no such sheet.
    int chosenTab(const QString& sheet) const;
    void chooseTab(const QString& sheet, int tab);

    // Wallpaper: the image (none when the file is missing or unreadable)
    // and the three placing flags.
    void setWallpaper(const QString& file);
    QString wallpaper() const { return wallpaperFile_; }
    bool hasWallpaperImage() const { return !wallpaperImage_.isNull(); }
    void setWallpaperFlags(bool tiled, bool centered, bool stretched);
    bool tiled() const { return tiled_; }
    bool centered() const { return centered_; }
    bool stretched() const { return stretched_; }

    // Keys that make the controller hear an alert-key event: on the window
    // (any control) or on one control. Keys are Qt key combinations.
    void armAlertKey(int key, const QString& control = {});
    void disarmAlertKey(int key, const QString& control = {});
    bool isAlertKeyArmed(int key, const QString& control = {}) const;

    void setSink(WindowSink* sink) { sink_ = sink; }

    // The status bar's zones (1 for the first); nothing without a status bar.
    void setStatusText(int zone, const QString& text);
    QString statusText(int zone) const;
    int statusZoneCount() const { return int(statusZones_.size()); }

    // Placing a top-level window (its MDI sub-window stays in the frame's
    // area): the area it is kept on, and places in dialog units from the
    // area's top left, moved as little as needed to stay on it.
    QRect availableArea() const;
    void placeAt(int x, int y);
    void placeCentred();
    // At a random place within `range` (dialog units, both ends included).
    void placeRandomly(const QRect& range);
    // Moves the window as little as needed to lie on the available area.
    void keepOnArea();
    // The window this one was opened from (a called window's caller, else
    // the window active when it opened): a window placed by default opens
    // centred over it, a window without one centred on its area.
    void setOpener(QWidget* opener) { opener_ = opener; }
    void placeOverOpener();
    // The placement of the definition: Fixed, Centred, or (Default) centred
    // over the opener.
    void applyPlacement();
    // Makes the window wider by what `list` lacks to show `pixels` more
    // (the growing list of a window that is not scaled takes it all; a
    // scaled window grows by the list's share), within the available area.
    void widenForList(const QWidget* list, int pixels);

    // The window's own size: its sub-window in the frame is made to fit it.
    QSize sizeHint() const override { return size(); }

protected:
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    friend class Control;
    struct Item {
        const ControlDef* def;
        QPointer<QWidget> widget;
        bool ownHidden = false;  // hidden by the window's code or its flags
    };
    void build();
    // Window kinds (WindowKinds.cpp): frame flags, status bar, regions.
    void applyFrame();
    void buildStatusBar();
    void placeStatusBar();
    int statusBarHeight() const;
    void armRegions();
    void trackRegions(QObject* o, QEvent* e);
    QWidget* makeControl(const ControlDef& c);
    void place(Item& it);
    // The list that takes a resize of a window that is not scaled: the
    // largest one; nullptr for a window without lists.
    const Item* growingList() const;
    void applyTabs();
    void connectControl(const QString& name, QWidget* w, Kind kind);
    Item* item(const QString& name);
    const Item* item(const QString& name) const;
    void fieldEvent(const QString& name, FieldEvent e);
    // A control's value read back and its accept heard; `leaving` when the
    // focus leaving it is the cause (skipped while another accept runs).
    void accept(const QString& name, bool leaving, bool read = true);
    QString nameOf(QObject* o) const;

    WindowDef def_;
    WindowSink* sink_;
    QPointer<QWidget> opener_;
    DialogUnits units_;
    QMdiSubWindow* sub_ = nullptr;
    std::vector<Item> items_;
    std::map<QString, size_t> byName_;
    std::map<QString, Binding> bindings_;
    std::map<QString, QString> shownTexts_;  // what each bound text box was last given
    std::map<QString, QString> shownEntries_;  // what each bound entry was last given
    std::map<QString, QButtonGroup*> options_;
    std::vector<std::pair<int, QString>> alertKeys_;
    QString defaultButton_;  // set in place of the declared default
    QString wallpaperFile_;
    QPixmap wallpaperImage_;
    bool tiled_ = false, centered_ = false, stretched_ = false;
    QSize designSize_;
    QStatusBar* statusBar_ = nullptr;
    std::vector<QLabel*> statusZones_;
    std::vector<QString> regionsIn_;  // the regions the mouse is in
    bool allowClose_ = false;
    bool refusing_ = false;  // a refused entry is being told: no second message
    int accepting_ = 0;      // accepts running: a field the focus leaves is not accepted
    friend class WindowController;
};

} // namespace ven
