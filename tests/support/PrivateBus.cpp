#include "tests/support/PrivateBus.h"

#include <gtest/gtest.h>

namespace testing_support {

PrivateBus::PrivateBus() {
    daemon_.setProgram("dbus-daemon");
    daemon_.setArguments({"--session", "--nofork", "--print-address=1",
                          "--address=unix:dir=" + QString::fromStdString(dir_.Path())});
    daemon_.start();
    if (!daemon_.waitForStarted(10000)) {
        ADD_FAILURE() << "dbus-daemon did not start (package dbus-daemon)";
        return;
    }
    for (int i = 0; i < 100 && !daemon_.canReadLine(); ++i)
        daemon_.waitForReadyRead(100);
    address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    if (address_.isEmpty())
        ADD_FAILURE() << "dbus-daemon gave no address";
}

PrivateBus::~PrivateBus() {
    for (const QString& name : names_)
        QDBusConnection::disconnectFromBus(name);
    daemon_.kill();
    daemon_.waitForFinished(5000);
}

QDBusConnection PrivateBus::Connect(const QString& Name) const {
    names_.push_back(Name);
    return QDBusConnection::connectToBus(address_, Name);
}

RecordingBusObject::RecordingBusObject() {
    thread_.start();
    moveToThread(&thread_);
}

RecordingBusObject::~RecordingBusObject() {
    thread_.quit();
    thread_.wait();
}

QString RecordingBusObject::introspect(const QString&) const { return {}; }

bool RecordingBusObject::handleMessage(const QDBusMessage& Message, const QDBusConnection& Connection) {
    if (Message.type() != QDBusMessage::MethodCallMessage)
        return false;
    {
        std::lock_guard lock(mutex_);
        calls_.push_back({Message.interface(), Message.member(), Message.arguments()});
    }
    Connection.send(Answer ? Answer(Message) : Message.createReply());
    return true;
}

std::vector<RecordedCall> RecordingBusObject::Calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

} // namespace testing_support
