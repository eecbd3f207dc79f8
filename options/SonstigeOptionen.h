// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "OptionenSeite.h"

// The page "Sonstige": room for later options. Everything on it is disabled and has no effect.
class CSonstigeOptionen : public COptionenSeite {
    Q_OBJECT
public:
    static constexpr int IDD = 137;
    // Check1 to Check5 are 1025 to 1029.
    static constexpr int IDC_CHECK1 = 1025;

    CSonstigeOptionen();

protected:
    void DoDataExchange(bool) override {}
};
