// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "design/DesignData.h"

// One design for every input, as the program keeps one from load to load: constructing one
// fills its entry arrays, which would cost a short input most of its time. What a reader or a
// check reads from it goes back to a fresh design's values, so that an input behaves alike
// however many ran before it and a finding reproduces on its own.
template <typename Design> Design& reusedDesign() {
    static Design design;
    design.m_ColorList = {};
    design.m_PcsColors = {};
    design.m_nColors = 0;
    design.m_bSewPalette = 0;
    design.m_bShowDesign = 0;
    design.m_bStitchGraphics = 0;
    design.m_bPcsColors = 0;
    design.m_bThreadColors = 0;
    return design;
}
