// The options command of the view.
#include "DesignAnsicht.h"

void CDesignAnsicht::OnOptionen() {}
