// One running instance per user: the first one holds a local socket name in the abstract
// namespace, so nothing is written to disk and nothing stale survives a crash. A later launch
// asks the first, through that socket, to come to the front, and then ends.
#pragma once

#include "game/rules/platform.h"

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace pelmora::game {

QString instanceName();

class InstanceGuard : public QObject, public ProgramControl {
    Q_OBJECT

  public:
    // What a later launch writes, and what the running instance answers once it has acted.
    static constexpr char kRaiseRequest[] = "raise\n";
    static constexpr char kRaiseReply[] = "raised\n";

    explicit InstanceGuard(QString name = instanceName());

    // True when another instance holds the name; it has then been asked to come forward.
    bool anotherInstanceRunning() override;
    void endProgram() override;

    bool ended() const { return ended_; }

  signals:
    // A later launch asked this instance to come to the front.
    void raiseRequested();

  private:
    bool askRunningInstanceToRaise();
    void answer();

    QString name_;
    QLocalServer server_;
    bool ended_ = false;
};

}  // namespace pelmora::game
