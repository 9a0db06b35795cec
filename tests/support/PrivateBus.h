#pragma once
// A private D-Bus bus for one test (its own dbus-daemon), and a bus object that records the calls it gets,
// so that the D-Bus back ends (power, screen saver) are tested without touching the machine's buses.

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QThread>
#include <QVariantList>

#include "tests/support/TempDir.h"

namespace testing_support {

class PrivateBus {
public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    bool Started() const { return !address_.isEmpty(); }
    // A new connection to the bus under the local name Name.
    QDBusConnection Connect(const QString& Name) const;

private:
    TempDir dir_;
    QProcess daemon_;
    QString address_;
    mutable std::vector<QString> names_;
};

struct RecordedCall {
    QString Interface;
    QString Member;
    QVariantList Arguments;
};

// Answers every method call on its path: with Answer when set, else with an empty reply. It lives on a thread
// of its own, so that the test's thread can make blocking calls to it; the list is guarded.
class RecordingBusObject : public QDBusVirtualObject {
public:
    RecordingBusObject();
    ~RecordingBusObject() override;

    QString introspect(const QString& Path) const override;
    bool handleMessage(const QDBusMessage& Message, const QDBusConnection& Connection) override;

    std::vector<RecordedCall> Calls() const;
    // Returns the reply (or error) for a call; runs on the D-Bus thread.
    std::function<QDBusMessage(const QDBusMessage& Call)> Answer;

private:
    QThread thread_;
    mutable std::mutex mutex_;
    std::vector<RecordedCall> calls_;
};

} // namespace testing_support
