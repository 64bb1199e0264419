// One running instance per user: the first one holds a local socket name in the abstract
// namespace, so nothing is written to disk and nothing stale survives a crash.
#pragma once

#include "game/rules/platform.h"

#include <QLocalServer>
#include <QString>

namespace pelmora::game {

QString instanceName();

class InstanceGuard : public ProgramControl {
  public:
    bool anotherInstanceRunning() override;
    void endProgram() override;

    bool ended() const { return ended_; }

  private:
    QLocalServer server_;
    bool ended_ = false;
};

}  // namespace pelmora::game
