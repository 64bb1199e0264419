#include "game/window/session_guard.h"

#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace pelmora::game {

namespace {

// A hung instance must not hold a launch for long.
constexpr int kCallMs = 2000;

}  // namespace

// The org.freedesktop.Application interface a launcher or a later launch calls.
class ApplicationAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

  public:
    ApplicationAdaptor(QObject* holder, SessionGuard& guard)
        : QDBusAbstractAdaptor(holder), guard_(guard) {}

  public slots:
    void Activate(const QVariantMap& platformData) { guard_.activate(platformData); }
    void Open(const QStringList&, const QVariantMap& platformData) {
        guard_.activate(platformData);
    }
    void ActivateAction(const QString&, const QVariantList&, const QVariantMap& platformData) {
        guard_.activate(platformData);
    }

  private:
    SessionGuard& guard_;
};

SessionGuard::SessionGuard(QDBusConnection bus) : bus_(std::move(bus)) {}

SessionGuard::~SessionGuard() {
    if (owner_) {
        bus_.unregisterObject(QString::fromLatin1(kPath));
        bus_.unregisterService(QString::fromLatin1(kService));
    }
}

QVariantMap SessionGuard::platformData() {
    QVariantMap data;
    const QString token = qEnvironmentVariable("XDG_ACTIVATION_TOKEN");
    const QString startupId = qEnvironmentVariable("DESKTOP_STARTUP_ID");
    if (!token.isEmpty()) data.insert(QStringLiteral("activation-token"), token);
    if (!startupId.isEmpty()) data.insert(QStringLiteral("desktop-startup-id"), startupId);
    return data;
}

bool SessionGuard::anotherInstanceRunning() {
    if (!bus_.isConnected() || !bus_.interface()) {
        fallback_ = std::make_unique<InstanceGuard>();
        connect(fallback_.get(), &InstanceGuard::raiseRequested, this,
                &SessionGuard::raiseRequested);
        return fallback_->anotherInstanceRunning();
    }
    const QString service = QString::fromLatin1(kService);
    // The object first, so that an Activate that arrives as soon as we own the name finds it.
    auto* holder = new QObject(this);
    new ApplicationAdaptor(holder, *this);
    bus_.registerObject(QString::fromLatin1(kPath), holder);
    const auto reply =
        bus_.interface()->registerService(service, QDBusConnectionInterface::DontQueueService,
                                          QDBusConnectionInterface::DontAllowReplacement);
    if (reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered) {
        owner_ = true;
        return false;
    }
    bus_.unregisterObject(QString::fromLatin1(kPath));
    if (!reply.isValid()) return false;  // the bus refused for its own reasons: run alone
    QDBusMessage call =
        QDBusMessage::createMethodCall(service, QString::fromLatin1(kPath),
                                       QString::fromLatin1(kInterface), QStringLiteral("Activate"));
    call << platformData();
    bus_.call(call, QDBus::Block, kCallMs);
    return true;
}

void SessionGuard::endProgram() {
    ended_ = true;
    QCoreApplication::exit(0);
}

void SessionGuard::activate(const QVariantMap& platformData) {
    // The platform plugins read the token from the environment when the window asks to be
    // activated: Wayland's xdg-activation and X11's startup notification.
    const QString token = platformData.value(QStringLiteral("activation-token")).toString();
    const QString startupId = platformData.value(QStringLiteral("desktop-startup-id")).toString();
    if (!token.isEmpty()) qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
    if (!startupId.isEmpty()) qputenv("DESKTOP_STARTUP_ID", startupId.toUtf8());
    emit raiseRequested();
}

}  // namespace pelmora::game

#include "session_guard.moc"
