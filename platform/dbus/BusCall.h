#pragma once

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariant>

#include <optional>

// The structured value inside value when it has exactly this D-Bus
// signature ("a(sa{sv})"), else none: a service that answers with another
// type gave no answer, and reading it as ours would crash.
std::optional<QDBusArgument> TypedArgument(const QVariant& value, const char* signature);
// The reply's arguments have exactly this signature ("o", "h").
bool ReplyHasSignature(const QDBusMessage& reply, const char* signature);
// The signal's arguments have exactly this signature, else a warning names
// what came: a slot that takes the whole message gets every signal of its
// name, whatever its arguments, so that none is unpacked as the wrong type
// (QtDBus would read it as the slot's types, and crash on a mismatch).
bool SignalHasSignature(const QDBusMessage& signal, const char* signature);

// The name has an owner on the bus now; false too when the bus does not
// answer within two seconds.
bool NameHasOwner(const QDBusConnection& bus, const QString& name);

// The name has an owner on the bus, or the bus starts one on the first call
// to it (portals, notification servers such as dunst).
bool ServiceReachable(const QDBusConnection& bus, const QString& name);

// A call on the session bus answered within timeoutMs, waited for in a local
// event loop: our windows keep painting, and a service living in this very
// process (as in tests) can answer, which a blocking call would not let it.
QDBusMessage CallAndWait(const QDBusConnection& bus, const QDBusMessage& call, int timeoutMs);

// The call failed because nothing on the bus took it: no such name, no
// such object, interface or method, or no bus at all. Nothing was refused.
bool NobodyAnswered(const QDBusMessage& reply);

// The bus at that address (as DBUS_SYSTEM_BUS_ADDRESS gives it) lets us in
// within timeoutMs: its daemon runs and answers. Qt's own connect would wait
// for a hung daemon on the thread that serves every bus of the program. A
// transport other than a local socket counts as answering.
bool BusAnswers(const QString& address, int timeoutMs);
