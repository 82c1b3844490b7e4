// File names as Linux holds them (bytes) and as Qt's strings hold them (UTF-16), one to one.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace fotavel::io {

// A Linux file name is any run of bytes; most are UTF-8, but a card written
// by an old camera or a copy from another system may hold names that are not.
// Qt's own conversion turns each such byte into U+FFFD, so a name read from
// the command line or a folder would name another file when used again. Here
// every byte that is not part of a valid UTF-8 sequence becomes the lone
// surrogate U+DC00 + byte (0x80 … 0xFF) and comes back as that byte: any name
// survives the round trip, and a valid UTF-8 name reads exactly as Qt reads it.
QString NameFromNative(const QByteArray& bytes);
QByteArray NativeName(const QString& name);

// The program's arguments as they were given, each decoded by NameFromNative.
QStringList ArgumentsFromNative(int argc, const char* const* argv);

}  // namespace fotavel::io
