#pragma once
// The program's icon (a calendar page woven from strips) for its windows and the tray, at the
// sizes of the hicolor theme (16 to 256 px) shipped inside the program.
#include <QIcon>

QIcon programIcon();
