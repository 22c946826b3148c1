#pragma once

#include "pym/gui/ScrollObject.h"

namespace Pym {

// A scroll object whose bar rests only on "Tics" + 1 evenly spaced places (0 to Tics): a drag
// snaps to the nearest one and a step moves one tic. Without tics (0, the default) it moves
// freely like its base.
class TicScrollObject : public ScrollObject {
public:
    int Tics() const { return tics_; }
    void SetTics(int tics);
    // The tic the bar rests on; 0 without tics.
    int Tic() const;
    // Puts the bar on a tic, silently.
    void SetTic(int tic);

    int MoveBar(int delta, bool notify) override;
    void Step(int steps) override;

protected:
    bool LoadFromXml(TiXmlElement* element) override;

private:
    // The pixel place of a tic along the travel.
    int TicPlace(int tic) const;

    int tics_ = 0;
};

}  // namespace Pym
