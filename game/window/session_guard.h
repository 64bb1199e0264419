// One window per desktop session, the freedesktop way: the running instance owns the
// application's name on the session bus and answers org.freedesktop.Application.Activate; a
// later launch calls Activate with the launcher's activation token and ends. Without a session
// bus, the local socket of InstanceGuard keeps one instance per user.
#pragma once

#include "game/rules/platform.h"
#include "game/window/instance_guard.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <memory>

namespace pelmora::game {

class SessionGuard : public QObject, public ProgramControl {
    Q_OBJECT

  public:
    static constexpr char kService[] = "org.pelmora.pelmora";
    static constexpr char kPath[] = "/org/pelmora/pelmora";
    static constexpr char kInterface[] = "org.freedesktop.Application";

    explicit SessionGuard(QDBusConnection bus = QDBusConnection::sessionBus());
    ~SessionGuard() override;

    bool anotherInstanceRunning() override;
    void endProgram() override;

    bool ended() const { return ended_; }
    // What a launch passes on: the activation token of the launcher's environment.
    static QVariantMap platformData();

  signals:
    // A later launch asked this instance to come to the front.
    void raiseRequested();

  private:
    friend class ApplicationAdaptor;
    void activate(const QVariantMap& platformData);

    QDBusConnection bus_;
    std::unique_ptr<InstanceGuard> fallback_;
    bool owner_ = false;
    bool ended_ = false;
};

}  // namespace pelmora::game
