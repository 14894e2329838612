#include "clock/C_Menu.h"
void C_Menu::on_p_alam_triggered() {}
