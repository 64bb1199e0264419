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
    forward(&Mivor10::Form_Load);
    if (ended_) return;
    command4_->setFocus();
    timer1_->start();
    qApp->installEventFilter(this);
    if (auto* guard = dynamic_cast<InstanceGuard*>(services.program))
        connect(guard, &InstanceGuard::raiseRequested, this, &Mivor10Window::bringToFront);
    if (auto* guard = dynamic_cast<SessionGuard*>(services.program))
        connect(guard, &SessionGuard::raiseRequested, this, &Mivor10Window::bringToFront);
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

    const QFont counter = gothic(12, true);
    const QFont operatorFont = gothic(18, true);
    const QFont sign = gothic(36, true);
    const QFont target = gothic(20.25);
    const QFont example = gothic(18);
    const QFont small = gothic(11.25);

    // The counters and their headings.
    struct Counter {
        int index;
        const char16_t* heading;
        int headingLeft, headingWidth, left;
    };
    for (const Counter& c :
         {Counter{0, u"問題", 360, 360, 840}, Counter{1, u"正解", 2040, 360, 2520},
          Counter{2, u"不正解", 3720, 540, 4320}, Counter{4, u"残り時間", 5400, 675, 6240}}) {
        markUnspoken(makeLabel(this, indexed("Label5", c.index), QString::fromUtf16(c.heading),
                               twipRect(c.headingLeft, 280, c.headingWidth, 180), nullptr,
                               kAutoSized));
        label4_[c.index] =
            makeLabel(this, indexed("Label4", c.index), QString(), twipRect(c.left, 240, 720, 270),
                      &counter, kBordered | kCentred);
        if (c.index == 0) {
            setColours(label4_[0], kGrey, kWhite);
        } else {
            setColours(label4_[c.index], systemWindow(), systemWindowText());
        }
    }

    auto* frame1 = new QGroupBox(this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    letChildrenBeUnspoken(frame1);
    frame1->setGeometry(twipRect(840, 720, 6495, 735));
    setBackground(frame1, kWhite);
    struct Result {
        int index;
        const char16_t* heading;
        int headingLeft, headingWidth, left, width;
    };
    for (const Result& r :
         {Result{6, u"正解率", 240, 540, 960, 840}, Result{5, u"点　数", 2040, 480, 2640, 840},
          Result{3, u"経過時間", 3960, 720, 4800, 1320}}) {
        markUnspoken(makeLabel(frame1, indexed("Label5", r.index), QString::fromUtf16(r.heading),
                               twipRect(r.headingLeft, 285, r.headingWidth, 180), nullptr,
                               kAutoSized));
        label4_[r.index] =
            makeLabel(frame1, indexed("Label4", r.index), QString(),
                      twipRect(r.left, 240, r.width, 270), &counter, kBordered | kCentred);
        setColours(label4_[r.index], kBlue, kWhite);
    }

    // The formula row.
    for (int d = 0; d < 10; ++d) {
        image1_[d] = new PictureBox(this);
        image1_[d]->setObjectName(indexed("Image1", d));
        image1_[d]->setGeometry(twipRect(120 + 480 * d, 4440, 480, 615));
        image1_[d]->setPicture(QPixmap(QStringLiteral(":/pictures/digit%1.xpm").arg(d)), d);
        image1_[d]->hide();
    }
    const std::array<int, 4> imageLefts{600, 2160, 3840, 5520};
    for (int i = 0; i < 4; ++i) {
        image2_[i] = new PictureBox(this);
        image2_[i]->setObjectName(indexed("Image2", i));
        image2_[i]->setGeometry(twipRect(imageLefts[i], 1680, 480, 615));
        image2_[i]->setPicture(image1_[0]->picture(), 0);
    }
    const std::array<std::pair<int, int>, 3> comboPlaces{{{1200, 780}, {2880, 735}, {4560, 735}}};
    for (int i = 0; i < 3; ++i) {
        combo1_[i] = new QComboBox(this);
        combo1_[i]->setObjectName(indexed("Combo1", i));
        combo1_[i]->setGeometry(twipRect(comboPlaces[i].first, 1725, comboPlaces[i].second, 480));
        combo1_[i]->setFont(operatorFont);
        combo1_[i]->setEditable(false);
        QPalette palette = combo1_[i]->palette();
        palette.setColor(QPalette::Button, kWhite);
        palette.setColor(QPalette::Base, kWhite);
        combo1_[i]->setPalette(palette);
        readChoiceAsText(combo1_[i]);
    }
    makeLabel(this, QStringLiteral("Label2"), QStringLiteral("="), twipRect(6240, 1605, 375, 720),
              &sign, kAutoSized);
    text2_ = makeTextBox(this, QStringLiteral("Text2"), QString(), twipRect(6840, 1725, 975, 510),
                         &target);
    text2_->setAlignment(Qt::AlignCenter);
    setColours(text2_, kGrey, kWhite);

    // The example answer.
    auto* heading = makeLabel(this, QStringLiteral("Label3(1)"), QStringLiteral("正解例"),
                              twipRect(600, 2520, 1080, 360), &example, kAutoSized);
    setTextColour(heading, kGreen);
    markUnspoken(heading);  // Label6 says it
    label6_ = makeLabel(this, QStringLiteral("Label6"), QString(), twipRect(1800, 2520, 4095, 390),
                        &example, kBordered | kCentred);
    setTextColour(label6_, kGreen);

    command4_ = makeButton(this, QStringLiteral("Command4"), QStringLiteral("ｽﾀｰﾄ"),
                           twipRect(360, 3240, 1215, 495));
    command2_ = makeButton(this, QStringLiteral("Command2"), QStringLiteral("OK"),
                           twipRect(1800, 3240, 1335, 495));
    command5_ = makeButton(this, QStringLiteral("Command5"), QStringLiteral("先に進む"),
                           twipRect(3360, 3240, 1335, 495));
    command6_ = makeButton(this, QStringLiteral("Command6"), QStringLiteral("中止"),
                           twipRect(4920, 3240, 1335, 495));
    command3_ = makeButton(this, QStringLiteral("Command3"), QStringLiteral("閉じる"),
                           twipRect(6480, 3240, 1335, 495));
    // Visible, but far outside the client area: it holds the focus away from the buttons.
    text3_ = makeTextBox(this, QStringLiteral("Text3"), QStringLiteral("Text3"),
                         twipRect(37200, 30000, 150, 270), nullptr);
    setSpokenText(text3_, QString());

    keyCueFrame_ = new KeyCue(this);
    markUnspoken(keyCueFrame_);

    // Hidden for the life of the window.
    const std::array<int, 4> digitLefts{240, 1200, 2040, 2880};
    for (int i = 0; i < 4; ++i) {
        label1_[i] =
            makeLabel(this, indexed("Label1", i), QStringLiteral("9"),
                      twipRect(digitLefts[i], 5040, 720, 750), &sign, kBordered | kCentred);
        setColours(label1_[i], kLightYellow, QApplication::palette().color(QPalette::WindowText));
        label1_[i]->hide();
    }
    makeLabel(this, QStringLiteral("Label3(0)"), QStringLiteral("計算式"),
              twipRect(3720, 5205, 720, 225), &small, kAutoSized)
        ->hide();
    text1_ = makeTextBox(this, QStringLiteral("Text1"), QString(), twipRect(4560, 5160, 3255, 330),
                         &small);
    text1_->hide();
    command1_ = makeButton(this, QStringLiteral("Command1"), QStringLiteral("計算式変更"),
                           twipRect(7920, 5160, 1455, 375));
    command1_->hide();

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
    connect(command1_, &QPushButton::clicked, this, [this] { forward(&Mivor10::Command1_Click); });
    connect(command2_, &QPushButton::clicked, this, [this] { forward(&Mivor10::Command2_Click); });
    connect(command3_, &QPushButton::clicked, this, [this] { forward(&Mivor10::Command3_Click); });
    connect(command4_, &QPushButton::clicked, this, [this] { forward(&Mivor10::Command4_Click); });
    connect(command5_, &QPushButton::clicked, this, [this] { forward(&Mivor10::Command5_Click); });
    connect(command6_, &QPushButton::clicked, this, [this] { forward(&Mivor10::Command6_Click); });
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
    forward(&Mivor10::Timer1_Timer);
}

void Mivor10Window::forward(void (Mivor10::*handler)()) {
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
    (rules_.get()->*handler)();
    const double now = clock_->seconds();
    if (state.CorrectCount > correct) lastCorrectAt_ = enterGuardFrom_ = now;
    if (handler == &Mivor10::Command4_Click && state.Running == 1) enterGuardFrom_ = now;
    if (wasRunning && state.Running != 1) gameEndedAt_ = now;
    // Typed signs start again at the first box after every press and on every new problem.
    if (handler != &Mivor10::Timer1_Timer || state.ProblemNumber != problem) setNextOperator(0);
    showControls();
    // After the focus has moved, so that a reader says this last.
    announceChange(handler, before);
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
