#pragma once

#include "kivbrief.h"

// The SIM applet's line in the host's list: the title only, with an empty
// value text, whatever the SIM's state.
class SimBrief : public KivBrief
{
    Q_OBJECT

public:
    SimBrief();

    QString valueText() const override;
};
