// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "CopyContext.h"

#include "platform/UserMessages.h"

int messageFor(NextStep step) {
    switch (step) {
    case NextStep::SourceRemoved:
        return platform::WM_DATEI_ENTFERNT;
    case NextStep::Advance:
        return platform::WM_NAECHSTE_DATEI;
    case NextStep::Nothing:
        break;
    }
    return 0;
}
