#include "beeper.h"

#include <QApplication>

namespace dvw {

void SystemBeeper::beep()
{
    QApplication::beep();
}

} // namespace dvw
