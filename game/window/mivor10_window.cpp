#include "game/window/mivor10_window.h"

#include "game/window/accessibility.h"
#include "game/window/game_host.h"

#include <QApplication>
#include <QComboBox>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

// Resources of a static library are registered by hand, from the global namespace.
static void registerPictures() {
    Q_INIT_RESOURCE(pictures);
}

namespace pelmora::game {

namespace {

QString toQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::u16string fromQString(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<std::size_t>(text.size()));
}

// Twips to pixels at 96 dots per inch, rounded.
int px(int twips) {
    return (twips * 2 + 15) / 30;
}

QRect twipRect(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(width), px(height));
}

QFont gothic(double points, bool bold = false) {
    QFont font(gothicFamily());
    font.setPointSizeF(points);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

const QColor kWhite(255, 255, 255);
const QColor kGrey(128, 128, 128);
const QColor kBlue(0, 0, 255);
const QColor kGreen(0, 192, 0);
const QColor kRed(255, 0, 0);
const QColor kLightYellow(255, 255, 192);

void setColours(QWidget* widget, const QColor& background, const QColor& text) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::Base, background);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::ButtonText, text);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// Only the background: text keeps the palette's own colours for enabled and disabled.
void setBackground(QWidget* widget, const QColor& background) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, background);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void setTextColour(QWidget* widget, const QColor& text) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, text);
    widget->setPalette(palette);
}

QColor systemWindow() {
    return QApplication::palette().color(QPalette::Base);
}
QColor systemWindowText() {
    return QApplication::palette().color(QPalette::Text);
}

enum LabelStyle { kPlain = 0, kBordered = 1, kCentred = 2, kAutoSized = 4 };

// A label with a single black line around it, whatever its text colour.
class BorderedLabel : public QLabel {
  public:
    using QLabel::QLabel;

  protected:
    void paintEvent(QPaintEvent* event) override {
        QLabel::paintEvent(event);
        QPainter painter(this);
        painter.setPen(QColor(0, 0, 0));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& caption, const QRect& place,
                  const QFont* font, int style) {
    QLabel* label =
        (style & kBordered) ? new BorderedLabel(caption, parent) : new QLabel(caption, parent);
    label->setObjectName(name);
    label->setGeometry(place);
    if (font) label->setFont(*font);
    if (style & kBordered) label->setContentsMargins(1, 1, 1, 1);
    label->setAlignment((style & kCentred) ? Qt::AlignHCenter | Qt::AlignVCenter
                                           : Qt::AlignLeft | Qt::AlignTop);
    if (style & kAutoSized) label->adjustSize();
    return label;
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption,
                        const QRect& place) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(place);
    button->setAutoDefault(false);
    return button;
}

QLineEdit* makeTextBox(QWidget* parent, const QString& name, const QString& text,
                       const QRect& place, const QFont* font) {
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(name);
    box->setGeometry(place);
    if (font) box->setFont(*font);
    return box;
}

QString indexed(const char* name, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

// The headings of the counters Label4(0) to Label4(6), which name them to a screen reader.
const std::array<const char16_t*, 7> kCounterHeadings{
    u"問題", u"正解", u"不正解", u"経過時間", u"残り時間", u"点　数", u"正解率"};

// "残り時間 12": a reader says what the number counts; a blank counter is its heading alone.
QString headedName(const char16_t* heading, const QString& shown) {
    QString name = QString::fromUtf16(heading);
    if (!shown.isEmpty()) name += u' ' + shown;
    return name;
}

void setAccessibleNameIfChanged(QWidget* widget, const QString& name) {
    if (widget->accessibleName() != name) widget->setAccessibleName(name);
}

// A frame around the operator box that the next typed sign sets.
class KeyCue : public QWidget {
  public:
    static constexpr int kCueWidth = 3;

    explicit KeyCue(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("KeyCue"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(QPen(palette().color(QPalette::Highlight), kCueWidth));
        const int half = kCueWidth / 2;
        painter.drawRect(rect().adjusted(half, half, -half - 1, -half - 1));
    }
};

enum class ControlKind { Label, Frame, Picture, OperatorBox, TextBox, Button };

// One control of the form: where it stands (twips; inside Frame1 relative to it), its font
// (0 points: the window's own) and caption. Colours, pictures and what a screen reader says
// are set by build() afterwards.
struct ControlRow {
    const char* name;
    ControlKind kind;
    bool inFrame1;
    int left, top, width, height;
    double points;
    bool bold;
    const char16_t* caption;
    int style;  // LabelStyle, for a label
    bool hidden;
};

using enum ControlKind;
constexpr int kBoxed = kBordered | kCentred;

// Every control in the order the form creates them, which is their order on screen from back
// to front.
constexpr ControlRow kControls[] = {
    // The counters and their headings.
    {"Label5(0)", Label, false, 360, 280, 360, 180, 0, false, u"問題", kAutoSized, false},
    {"Label4(0)", Label, false, 840, 240, 720, 270, 12, true, u"", kBoxed, false},
    {"Label5(1)", Label, false, 2040, 280, 360, 180, 0, false, u"正解", kAutoSized, false},
    {"Label4(1)", Label, false, 2520, 240, 720, 270, 12, true, u"", kBoxed, false},
    {"Label5(2)", Label, false, 3720, 280, 540, 180, 0, false, u"不正解", kAutoSized, false},
    {"Label4(2)", Label, false, 4320, 240, 720, 270, 12, true, u"", kBoxed, false},
    {"Label5(4)", Label, false, 5400, 280, 675, 180, 0, false, u"残り時間", kAutoSized, false},
    {"Label4(4)", Label, false, 6240, 240, 720, 270, 12, true, u"", kBoxed, false},
    {"Frame1", Frame, false, 840, 720, 6495, 735, 0, false, u"", kPlain, false},
    {"Label5(6)", Label, true, 240, 285, 540, 180, 0, false, u"正解率", kAutoSized, false},
    {"Label4(6)", Label, true, 960, 240, 840, 270, 12, true, u"", kBoxed, false},
    {"Label5(5)", Label, true, 2040, 285, 480, 180, 0, false, u"点　数", kAutoSized, false},
    {"Label4(5)", Label, true, 2640, 240, 840, 270, 12, true, u"", kBoxed, false},
    {"Label5(3)", Label, true, 3960, 285, 720, 180, 0, false, u"経過時間", kAutoSized, false},
    {"Label4(3)", Label, true, 4800, 240, 1320, 270, 12, true, u"", kBoxed, false},
    // The pictures of the ten digits, which the dealt digits copy.
    {"Image1(0)", Picture, false, 120, 4440, 480, 615, 0, false, u"", kPlain, true},
    {"Image1(1)", Picture, false, 600, 4440, 480, 615, 0, false, u"", kPlain, true},
    {"Image1(2)", Picture, false, 1080, 4440, 480, 615, 0, false, u"", kPlain, true},
    {"Image1(3)", Picture, false, 1560, 4440, 480, 615, 0, false, u"", kPlain, true},
    {"Image1(4)", Picture, false, 2040, 4440, 480, 615, 0, false, u"", kPlain, true},
    {"Image1(5)", Picture, false, 2520, 4440, 480, 615, 0, false, u"", kPlain, true},
    {"Image1(6)", Picture, false, 3000, 4440, 480, 615, 0, false, u"", kPlain, true},
    {"Image1(7)", Picture, false, 3480, 4440, 480, 615, 0, false, u"", kPlain, true},
    {"Image1(8)", Picture, false, 3960, 4440, 480, 615, 0, false, u"", kPlain, true},
    {"Image1(9)", Picture, false, 4440, 4440, 480, 615, 0, false, u"", kPlain, true},
    // The formula row.
    {"Image2(0)", Picture, false, 600, 1680, 480, 615, 0, false, u"", kPlain, false},
    {"Image2(1)", Picture, false, 2160, 1680, 480, 615, 0, false, u"", kPlain, false},
    {"Image2(2)", Picture, false, 3840, 1680, 480, 615, 0, false, u"", kPlain, false},
    {"Image2(3)", Picture, false, 5520, 1680, 480, 615, 0, false, u"", kPlain, false},
    {"Combo1(0)", OperatorBox, false, 1200, 1725, 780, 480, 18, true, u"", kPlain, false},
    {"Combo1(1)", OperatorBox, false, 2880, 1725, 735, 480, 18, true, u"", kPlain, false},
    {"Combo1(2)", OperatorBox, false, 4560, 1725, 735, 480, 18, true, u"", kPlain, false},
    {"Label2", Label, false, 6240, 1605, 375, 720, 36, true, u"=", kAutoSized, false},
    {"Text2", TextBox, false, 6840, 1725, 975, 510, 20.25, false, u"", kPlain, false},
    // The example answer.
    {"Label3(1)", Label, false, 600, 2520, 1080, 360, 18, false, u"正解例", kAutoSized, false},
    {"Label6", Label, false, 1800, 2520, 4095, 390, 18, false, u"", kBoxed, false},
    {"Command4", Button, false, 360, 3240, 1215, 495, 0, false, u"ｽﾀｰﾄ", kPlain, false},
    {"Command2", Button, false, 1800, 3240, 1335, 495, 0, false, u"OK", kPlain, false},
    {"Command5", Button, false, 3360, 3240, 1335, 495, 0, false, u"先に進む", kPlain, false},
    {"Command6", Button, false, 4920, 3240, 1335, 495, 0, false, u"中止", kPlain, false},
    {"Command3", Button, false, 6480, 3240, 1335, 495, 0, false, u"閉じる", kPlain, false},
    // Visible, but far outside the client area: it holds the focus away from the buttons.
    {"Text3", TextBox, false, 37200, 30000, 150, 270, 0, false, u"Text3", kPlain, false},
    // Hidden for the life of the window.
    {"Label1(0)", Label, false, 240, 5040, 720, 750, 36, true, u"9", kBoxed, true},
    {"Label1(1)", Label, false, 1200, 5040, 720, 750, 36, true, u"9", kBoxed, true},
    {"Label1(2)", Label, false, 2040, 5040, 720, 750, 36, true, u"9", kBoxed, true},
    {"Label1(3)", Label, false, 2880, 5040, 720, 750, 36, true, u"9", kBoxed, true},
    {"Label3(0)", Label, false, 3720, 5205, 720, 225, 11.25, false, u"計算式", kAutoSized, true},
    {"Text1", TextBox, false, 4560, 5160, 3255, 330, 11.25, false, u"", kPlain, true},
    {"Command1", Button, false, 7920, 5160, 1455, 375, 0, false, u"計算式変更", kPlain, true},
};

QWidget* makeControl(const ControlRow& row, QWidget* parent) {
    const QString name = QString::fromLatin1(row.name);
    const QString caption = QString::fromUtf16(row.caption);
    const QRect place = twipRect(row.left, row.top, row.width, row.height);
    const std::optional<QFont> ownFont =
        row.points > 0 ? std::optional(gothic(row.points, row.bold)) : std::nullopt;
    const QFont* font = ownFont ? &*ownFont : nullptr;
    QWidget* widget = nullptr;
    switch (row.kind) {
        case Label:
            widget = makeLabel(parent, name, caption, place, font, row.style);
            break;
        case TextBox:
            widget = makeTextBox(parent, name, caption, place, font);
            break;
        case Button:
            widget = makeButton(parent, name, caption, place);
            break;
        case Frame:
            widget = new QGroupBox(parent);
            break;
        case Picture:
            widget = new PictureBox(parent);
            break;
        case OperatorBox:
            widget = new QComboBox(parent);
            break;
    }
    // The makers above name and place their controls themselves (a label may size itself).
    if (widget->objectName().isEmpty()) {
        widget->setObjectName(name);
        widget->setGeometry(place);
        if (font) widget->setFont(*font);
    }
    if (row.hidden) widget->hide();
    return widget;
}

}  // namespace

void PictureBox::setPicture(const QPixmap& picture, int digit) {
    picture_ = picture;
    digit_ = digit;
    setAccessibleName(QStringLiteral("数字 %1").arg(digit));
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) return;
    QPainter painter(this);
    // Nearest-pixel stretching keeps the pixel art sharp.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawPixmap(rect(), picture_);
}

// Passes the rules' requests on and remembers that the program was ended.
class Mivor10Window::Program : public ProgramControl {
  public:
    Program(Mivor10Window& window, ProgramControl& inner) : window_(window), inner_(inner) {}
    bool anotherInstanceRunning() override { return inner_.anotherInstanceRunning(); }
    void endProgram() override {
        window_.ended_ = true;
        inner_.endProgram();
    }

  private:
    Mivor10Window& window_;
    ProgramControl& inner_;
};

Mivor10Window::Mivor10Window(WindowServices services) {
    registerPictures();
    installAccessibility();
    if (!services.clock) {
        ownClock_ = std::make_unique<SteadyClock>();
        services.clock = ownClock_.get();
    }
    if (!services.host) {
        ownHost_ = std::make_unique<GameHost>();
        services.host = ownHost_.get();
    }
    if (!services.program) {
        ownGuard_ = std::make_unique<SessionGuard>();
        services.program = ownGuard_.get();
    }
    MessageSink* messages = services.messages ? services.messages : this;
    program_ = std::make_unique<Program>(*this, *services.program);
    evaluator_ = std::make_unique<Evaluator>(*services.host);
    rules_ = std::make_unique<Mivor10>(*evaluator_, *services.clock, *messages, *program_);
    clock_ = services.clock;

    build();
    announcer_ = std::make_unique<Announcer>(this);
    forward(Event::Load);
    if (ended_) return;
    command4_->setFocus();
    timer1_->start();
    qApp->installEventFilter(this);
    // A guard the caller gave is the caller's to connect to bringToFront.
    if (ownGuard_)
        connect(ownGuard_.get(), &SessionGuard::raiseRequested, this, &Mivor10Window::bringToFront);
}

Mivor10Window::~Mivor10Window() {
    if (qApp) qApp->removeEventFilter(this);
}

void Mivor10Window::build() {
    setObjectName(QStringLiteral("mivor10"));
    letChildrenBeUnspoken(this);
    setWindowIcon(QIcon(QPixmap(QStringLiteral(":/pictures/icon.xpm"))));
    setFont(QFont(gothicFamily(), 9));
    setBackground(this, kWhite);
    resize(px(8205), px(4050));

    QWidget* frame1 = nullptr;
    for (const ControlRow& row : kControls) {
        QWidget* control = makeControl(row, row.inFrame1 ? frame1 : this);
        if (row.kind == Frame) frame1 = control;
    }
    for (int i = 0; i < 7; ++i) {
        label4_[i] = findChild<QLabel*>(indexed("Label4", i));
        markUnspoken(findChild<QLabel*>(indexed("Label5", i)));
    }
    for (int i = 0; i < 4; ++i) {
        label1_[i] = findChild<QLabel*>(indexed("Label1", i));
        image2_[i] = findChild<PictureBox*>(indexed("Image2", i));
    }
    for (int d = 0; d < 10; ++d) image1_[d] = findChild<PictureBox*>(indexed("Image1", d));
    for (int i = 0; i < 3; ++i) combo1_[i] = findChild<QComboBox*>(indexed("Combo1", i));
    label6_ = findChild<QLabel*>(QStringLiteral("Label6"));
    text1_ = findChild<QLineEdit*>(QStringLiteral("Text1"));
    text2_ = findChild<QLineEdit*>(QStringLiteral("Text2"));
    text3_ = findChild<QLineEdit*>(QStringLiteral("Text3"));
    for (auto [button, name] : {std::pair{&command1_, "Command1"},
                                {&command2_, "Command2"},
                                {&command3_, "Command3"},
                                {&command4_, "Command4"},
                                {&command5_, "Command5"},
                                {&command6_, "Command6"}})
        *button = findChild<QPushButton*>(QString::fromLatin1(name));

    // The counters: the problem number grey, the others in the system's colours, the results
    // in the frame blue.
    setColours(label4_[0], kGrey, kWhite);
    for (int i : {1, 2, 4}) setColours(label4_[i], systemWindow(), systemWindowText());
    for (int i : {3, 5, 6}) setColours(label4_[i], kBlue, kWhite);
    letChildrenBeUnspoken(frame1);
    setBackground(frame1, kWhite);

    for (int d = 0; d < 10; ++d)
        image1_[d]->setPicture(QPixmap(QStringLiteral(":/pictures/digit%1.xpm").arg(d)), d);
    for (PictureBox* image : image2_) image->setPicture(image1_[0]->picture(), 0);
    for (QComboBox* combo : combo1_) {
        combo->setEditable(false);
        QPalette palette = combo->palette();
        palette.setColor(QPalette::Button, kWhite);
        palette.setColor(QPalette::Base, kWhite);
        combo->setPalette(palette);
        readChoiceAsText(combo);
    }
    text2_->setAlignment(Qt::AlignCenter);
    setColours(text2_, kGrey, kWhite);
    QLabel* heading = findChild<QLabel*>(QStringLiteral("Label3(1)"));
    setTextColour(heading, kGreen);
    markUnspoken(heading);  // Label6 says it
    setTextColour(label6_, kGreen);
    setSpokenText(text3_, QString());
    for (QLabel* digit : label1_)
        setColours(digit, kLightYellow, QApplication::palette().color(QPalette::WindowText));

    keyCueFrame_ = new KeyCue(this);
    markUnspoken(keyCueFrame_);

    describeForPlayers(frame1);

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(1000);
    connect(timer1_, &QTimer::timeout, this, &Mivor10Window::tick);

    const std::array<QWidget*, 12> tabOrder{command4_,  command2_,  command5_,  command3_,
                                            combo1_[0], combo1_[1], combo1_[2], text2_,
                                            text1_,     command1_,  command6_,  text3_};
    for (std::size_t i = 0; i + 1 < tabOrder.size(); ++i) setTabOrder(tabOrder[i], tabOrder[i + 1]);

    for (QComboBox* combo : combo1_)
        connect(combo, &QComboBox::currentIndexChanged, this, [this] { sayFormula(); });
    for (auto [button, event] : {std::pair{command1_, Event::Formula},
                                 {command2_, Event::Ok},
                                 {command3_, Event::Close},
                                 {command4_, Event::Start},
                                 {command5_, Event::Next},
                                 {command6_, Event::Stop}})
        connect(button, &QPushButton::clicked, this, [this, event = event] { forward(event); });
}

void Mivor10Window::describeForPlayers(QWidget* frame1) {
    // The keys are told once, on Start, where the focus is when the window opens.
    describeOnce(command4_, QString::fromUtf16(u"演算子は + - * / のキー、答えは Enter キー、"
                                               u"次の問題はスペースキー、中止は Esc キー"));
    for (QPushButton* button : {command2_, command5_, command6_, command3_}) describeOnce(button);
    auto tip = [](QWidget* widget, const char16_t* text) {
        widget->setToolTip(QString::fromUtf16(text));
    };
    tip(command4_, u"ゲームを始めます（Enter キー）");
    tip(command2_, u"答えを確かめます（Enter キー）");
    tip(command5_, u"この問題をとばして次の問題に進みます（スペースキー）");
    tip(command6_, u"ゲームを中止します（Esc キー）");
    tip(command3_, u"Pelmora を終了します");
    tip(text2_, u"目標の値：この数になる問題が出ます");
    for (int i = 0; i < 3; ++i) {
        combo1_[i]->setToolTip(
            QString::fromUtf16(u"%1 番目の演算子\n+ - * / のキー（× は x でも）で"
                               u"左から順に選べます\nBackspace で一つ戻ります")
                .arg(i + 1));
        combo1_[i]->setAccessibleName(QString::fromUtf16(u"%1 番目の演算子").arg(i + 1));
    }

    auto name = [](QWidget* widget, const char16_t* text) {
        widget->setAccessibleName(QString::fromUtf16(text));
    };
    // Short: a reader says the window's name whenever the focus comes back to it.
    name(this, u"Pelmora");
    name(command4_, u"スタート");
    name(command2_, u"OK 答え合わせ");
    name(command5_, u"先に進む");
    name(command6_, u"中止");
    name(command3_, u"閉じる");
    name(text2_, u"目標の値");
    name(frame1, u"成績");
    name(findChild<QLabel*>(QStringLiteral("Label2")), u"イコール");
    name(text3_, u"キー入力");
    // Hidden for good: a reader's review of the window would find them.
    for (QWidget* hidden : image1_) markUnspoken(hidden);
    for (QWidget* hidden : label1_) markUnspoken(hidden);
    for (QWidget* hidden : {static_cast<QWidget*>(text1_), static_cast<QWidget*>(command1_),
                            findChild<QWidget*>(QStringLiteral("Label3(0)"))})
        markUnspoken(hidden);
    for (int i = 0; i < 7; ++i) label4_[i]->setAccessibleName(headedName(kCounterHeadings[i], {}));
    label6_->setAccessibleName(QString::fromUtf16(u"正解例"));
}

void Mivor10Window::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Showing a window hides focus frames until a key moves the focus. Draw the one on Start
    // from the start, so that the player sees what Enter does.
    if (focusWidget() == command4_) setAttribute(Qt::WA_KeyboardFocusChange);
}

void Mivor10Window::bringToFront() {
    if (ended_) return;
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
    // A message open over the window stays in front of it.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}

void Mivor10Window::setNextOperator(int index) {
    nextOperator_ = index;
    placeKeyCue();
}

void Mivor10Window::showKeyCue(bool shown) {
    keyCue_ = shown;
    placeKeyCue();
}

void Mivor10Window::placeKeyCue() {
    if (!keyCueFrame_) return;
    if (!keyCue_ || rules_->state().Running != 1) {
        keyCueFrame_->hide();
        return;
    }
    // Just outside the box, in the gap before the digit pictures.
    const int margin = KeyCue::kCueWidth + 1;
    keyCueFrame_->setGeometry(
        combo1_[nextOperator_]->geometry().adjusted(-margin, -margin, margin, margin));
    keyCueFrame_->show();
    keyCueFrame_->raise();
}

void Mivor10Window::sayFormula() {
    if (rules_->state().Running != 1) {
        setSpokenText(text3_, QString());
        return;
    }
    QString formula;
    for (int i = 0; i < 4; ++i) {
        formula += label1_[i]->text();
        formula += u' ';
        formula += i < 3 ? combo1_[i]->currentText() : QString::fromUtf16(u"＝");
        formula += u' ';
    }
    formula += text2_->text();
    setSpokenText(text3_, formula);
}

void Mivor10Window::showCentred() {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    show();
}

void Mivor10Window::tick() {
    forward(Event::Tick);
}

void Mivor10Window::forward(Event event) {
    // A handler runs to completion before the next event; a modal message box inside one
    // must not let a tick or click in.
    if (busy_ || ended_) return;
    busy_ = true;
    const GameState& state = rules_->state();
    const Seen before = seen();
    const auto problem = state.ProblemNumber;
    const auto correct = state.CorrectCount;
    const bool wasRunning = state.Running == 1;
    readControls();
    // The handler of each event, in the order of Event.
    constexpr void (Mivor10::*kHandlers[])() = {&Mivor10::Form_Load,      &Mivor10::Command1_Click,
                                                &Mivor10::Command2_Click, &Mivor10::Command3_Click,
                                                &Mivor10::Command4_Click, &Mivor10::Command5_Click,
                                                &Mivor10::Command6_Click, &Mivor10::Timer1_Timer};
    static_assert(std::size(kHandlers) == static_cast<std::size_t>(Event::Tick) + 1);
    (rules_.get()->*kHandlers[static_cast<std::size_t>(event)])();
    const double now = clock_->seconds();
    if (state.CorrectCount > correct) lastCorrectAt_ = enterGuardFrom_ = now;
    if (event == Event::Start && state.Running == 1) enterGuardFrom_ = now;
    if (wasRunning && state.Running != 1) gameEndedAt_ = now;
    // Typed signs start again at the first box after every press and on every new problem.
    if (event != Event::Tick || state.ProblemNumber != problem) setNextOperator(0);
    showControls();
    // After the focus has moved, so that a reader says this last.
    announceChange(event, before);
    busy_ = false;
}

void Mivor10Window::readControls() {
    Controls& model = rules_->controls();
    model.Text1 = fromQString(text1_->text());
    model.Text2 = fromQString(text2_->text());
    for (int i = 0; i < 3; ++i) model.Combo1[i] = fromQString(combo1_[i]->currentText());
}

void Mivor10Window::showControls() {
    Controls& model = rules_->controls();
    setWindowTitle(toQString(model.caption));
    for (int i = 0; i < 7; ++i) {
        label4_[i]->setText(toQString(model.Label4[i]));
        setAccessibleNameIfChanged(label4_[i], headedName(kCounterHeadings[i], label4_[i]->text()));
    }
    setTextColour(label4_[4],
                  model.Label4ForeColour4 == TextColour::Red ? kRed : systemWindowText());
    for (int i = 0; i < 4; ++i) {
        label1_[i]->setText(toQString(model.Label1[i]));
        int digit = std::clamp(model.Image2[i], 0, 9);
        if (image2_[i]->digit() != digit) image2_[i]->setPicture(image1_[digit]->picture(), digit);
    }
    label6_->setText(toQString(model.Label6));
    setAccessibleNameIfChanged(label6_, headedName(u"正解例", label6_->text()));
    if (label6_->text() != solutionsListedFor_) listSolutions();
    if (text1_->text() != toQString(model.Text1)) text1_->setText(toQString(model.Text1));
    if (text2_->text() != toQString(model.Text2)) text2_->setText(toQString(model.Text2));
    for (int i = 0; i < 3; ++i) {
        QComboBox* combo = combo1_[i];
        const auto& items = model.Combo1Items[i];
        if (combo->count() != static_cast<int>(items.size())) {
            combo->clear();
            for (const auto& item : items) combo->addItem(toQString(item));
        }
        int index = combo->findText(toQString(model.Combo1[i]));
        if (index >= 0) combo->setCurrentIndex(index);
    }
    command2_->setEnabled(model.Command2Enabled);
    command3_->setEnabled(model.Command3Enabled);
    command4_->setEnabled(model.Command4Enabled);
    command5_->setEnabled(model.Command5Enabled);
    command6_->setEnabled(model.Command6Enabled);
    placeKeyCue();
    sayFormula();
    if (model.focusRequest) {
        if (*model.focusRequest == FocusTarget::Text3) {
            text3_->setFocus();
        } else {
            command4_->setFocus();
            setAttribute(Qt::WA_KeyboardFocusChange);
        }
        model.focusRequest.reset();
    }
}

void Mivor10Window::listSolutions() {
    solutionsListedFor_ = label6_->text();
    QString list;
    // Next and Stop find the example answer with the target the box holds now.
    if (auto digits = displayedDigits(fromQString(solutionsListedFor_))) {
        auto solutions =
            findAllSolutions(*evaluator_, *digits, readTarget(rules_->controls().Text2));
        list =
            QString::fromUtf16(u"この問題の答えは全部で %1 通り（探した順）").arg(solutions.size());
        for (std::size_t i = 0; i < solutions.size(); ++i)
            list += QStringLiteral("\n%1）%2").arg(i + 1).arg(toQString(solutions[i]));
    }
    label6_->setToolTip(list);
    label6_->setAccessibleDescription(list);
}

void Mivor10Window::showMessage(std::u16string_view text) {
    showControls();
    QMessageBox::warning(this, QStringLiteral("Pelmora"), toQString(text));
}

}  // namespace pelmora::game
