#pragma once

#include <QObject>
#include <QString>

// The forwarding interface as a target application offers it on the session
// bus: every call received is printed as one line on standard output.
class TDdeReceiver : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.varnock.Quorvel.Dde")

 public:
  using QObject::QObject;

 public slots:
  void Poke(const QString& topic, const QString& item, const QString& data);
  void Execute(const QString& topic, const QString& command);
};

// The text in double quotes, with backslash, double quote and control
// characters escaped C-style, so every printed call fits on one line.
QString Quoted(const QString& text);
