#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

// Decoding of vCard property values: transfer encodings, character sets,
// text escapes and embedded pictures.
namespace contacts {

// "=C3=A9" becomes the byte pair C3 A9; "=" before a line end is a soft line
// break and disappears. An "=" not followed by two hex digits stays as it is.
QByteArray DecodeQuotedPrintable(QByteArrayView text);

// Base64 with blanks and line ends ignored. False when the text is not
// base64.
bool DecodeBase64(QByteArrayView text, QByteArray& bytes);

// Text in the named character set (the vCard 2.1 CHARSET parameter). Without
// a known character set the bytes are UTF-8, and bytes that are not valid
// UTF-8 are read as Latin-1, which older Western exports most likely meant.
QString DecodeCharset(const QByteArray& bytes, const QByteArray& charset);

// Undoes the text escapes of vCard 3.0 and 4.0: "\n" and "\N" are line
// breaks, "\," "\;" and "\\" the characters themselves.
QString UnescapeText(const QString& text);

// The components of a structured value such as N ("Family;Given;..."),
// split at every ";" that is not escaped, each unescaped.
QStringList SplitStructured(const QString& text);

// The bytes of a data: URI ("data:image/jpeg;base64,/9j/..."). False when
// the text is no data: URI or its content cannot be decoded.
bool DecodeDataUri(QByteArrayView uri, QByteArray& bytes);

}  // namespace contacts
