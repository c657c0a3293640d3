#include "program_icon.h"

QIcon ProgramIcon() { return QIcon(QStringLiteral(":/quorvel/quorvel.png")); }
