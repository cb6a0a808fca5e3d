#pragma once

#include "common/shot.hpp"

// What the graph window needs from the main window.
namespace siacci {

class GraphHost {
public:
    virtual ~GraphHost() = default;
    // The user picked a site angle in the graph window: the main window takes it as its own
    // setting (its option buttons are left as they are) and runs processo, which recomputes
    // the graph state and brings the graph window forward. The graph window redraws after the
    // call returns.
    virtual void graphSiteAngleChosen(const SiteAngle& angle) = 0;
    // The decimal separator of the user's locale, as the main window's table writes numbers.
    virtual char decimalSeparator() const { return '.'; }
};

} // namespace siacci
