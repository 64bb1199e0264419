// The window mivor10: builds its controls, forwards every event to the rules and shows the
// rules' model of the controls afterwards.
#pragma once

#include <pelmora/evaluator.h>
#include <pelmora/host.h>
#include "game/rules/mivor10.h"
#include "game/rules/platform.h"
#include "game/window/fonts.h"
#include "game/window/session_guard.h"

#include <QPixmap>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>

class QComboBox;
class QInputMethodEvent;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace pelmora::game {

// An image control: its picture drawn stretched to the control, pixel for pixel.
class PictureBox : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int digit READ digit)

  public:
    explicit PictureBox(QWidget* parent) : QWidget(parent) {}
    void setPicture(const QPixmap& picture, int digit);
    const QPixmap& picture() const { return picture_; }
    int digit() const { return digit_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap picture_;
    int digit_ = -1;
};

// What the window uses from the outside world; anything left null is the real thing.
struct WindowServices {
    Clock* clock = nullptr;
    Host* host = nullptr;
    MessageSink* messages = nullptr;
    ProgramControl* program = nullptr;
};

class Mivor10Window : public QWidget, private MessageSink {
    Q_OBJECT

  public:
    explicit Mivor10Window(WindowServices services = {});
    ~Mivor10Window() override;

    // Form_Load ended the program (another instance runs); the window must not be shown.
    bool programEnded() const { return ended_; }
    void showCentred();

    Mivor10& rules() { return *rules_; }
    // Runs Timer1's tick now, as the timer does every second.
    void tick();
    // Shows the window on top of the others with the input focus: a second launch asks this.
    void bringToFront();

  protected:
    void showEvent(QShowEvent* event) override;
    // The game's keys, and the mouse on OK, wherever in the window they land.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // What happened in the window, each forwarded to its handler in the rules: Form_Load,
    // Command1_Click to Command6_Click (Formula, OK, Close, Start, Next, Stop), Timer1_Timer.
    enum class Event { Load, Formula, Ok, Close, Start, Next, Stop, Tick };

    void build();
    // Tooltips and accessible names.
    void describeForPlayers(QWidget* frame1);
    // Runs the event's handler between reading the controls into the rules' model and showing
    // the model again.
    void forward(Event event);
    void readControls();
    void showControls();
    // Every solution of the problem whose example answer Label6 shows, as its tooltip and
    // description; worked out once for each example shown.
    void listSolutions();
    void showMessage(std::u16string_view text) override;
    bool gameKey(QWidget* receiver, QKeyEvent* key);
    bool committedSigns(QWidget* receiver, QInputMethodEvent* input);
    void chooseNextOperator(int item);
    void setNextOperator(int index);
    // The cue around the operator box that the next typed sign sets: shown once the player
    // uses the game's keys, hidden again by the mouse and between games.
    void showKeyCue(bool shown);
    void placeKeyCue();
    // The formula as it stands, or the outcome of the last answer, for a screen reader.
    void sayFormula();
    bool withinDoubleClick(const std::optional<double>& since) const;

    class Program;

    std::unique_ptr<Clock> ownClock_;
    std::unique_ptr<Host> ownHost_;
    std::unique_ptr<SessionGuard> ownGuard_;
    std::unique_ptr<Program> program_;
    std::unique_ptr<Evaluator> evaluator_;
    std::unique_ptr<Mivor10> rules_;
    Clock* clock_ = nullptr;
    bool busy_ = false;
    bool ended_ = false;
    // The operator box that the next typed sign sets.
    int nextOperator_ = 0;
    bool keyCue_ = false;
    // How the last answer went, said before the formula until the next sign is typed.
    QString outcome_;
    // Clock readings at the last correct answer, at the last Start or correct answer that an
    // Enter repeated straight after must not answer, and at the end of the last game.
    std::optional<double> lastCorrectAt_;
    std::optional<double> enterGuardFrom_;
    std::optional<double> gameEndedAt_;

    std::array<QLabel*, 7> label4_{};
    std::array<QLabel*, 4> label1_{};
    std::array<PictureBox*, 4> image2_{};
    std::array<PictureBox*, 10> image1_{};
    std::array<QComboBox*, 3> combo1_{};
    QLabel* label6_ = nullptr;
    QString solutionsListedFor_;
    QLineEdit* text1_ = nullptr;
    QLineEdit* text2_ = nullptr;
    QLineEdit* text3_ = nullptr;
    QWidget* keyCueFrame_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QPushButton* command3_ = nullptr;
    QPushButton* command4_ = nullptr;
    QPushButton* command5_ = nullptr;
    QPushButton* command6_ = nullptr;
    QTimer* timer1_ = nullptr;
};

}  // namespace pelmora::game
