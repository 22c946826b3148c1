#include "tuner/TuneVis.h"

#include <cmath>

#include "pym/gui/RegisterType.h"
#include "settings/AppSettings.h"
#include "tuner/PitchAnalyser.h"
#include "tuner/TuningMath.h"
#include "vis/ScaleMeters.h"
#include "vis/StackVis.h"

namespace {

const bool registered = Pym::RegisterType<TuneVis>("TuneVis", "");

// The meters of one scale, with the look of each from its child of the scale's element.
struct ScaleMeters {
    std::unique_ptr<Meter> meter;
    std::unique_ptr<SlidingMeter> sliding;
    std::unique_ptr<Fret> fret;
};

template <class Policy>
ScaleMeters MetersOf(const Policy& policy, const TiXmlElement* element, std::vector<float> marks,
                     std::function<float(float, float)> frequencyOf) {
    ScaleFeed feed{
        [] { return DllPitchAnalyserInstance().GetFrequency(); },
        [] { return DllAppSettingsInstance().desiredFrequency; },
        [policy](float target) {
            const TuneBounds bounds = policy.BoundsOf(target);
            return Scale{static_cast<float>(bounds.lower), static_cast<float>(bounds.upper)};
        },
        std::move(marks),
        std::move(frequencyOf),
        policy.unit};
    ScaleMeters meters{std::make_unique<Meter>(feed), std::make_unique<SlidingMeter>(feed),
                       std::make_unique<Fret>(feed)};
    meters.meter->LoadLook(element->FirstChildElement("Meter"));
    meters.sliding->LoadLook(element->FirstChildElement("SlidingMeter"));
    meters.fret->LoadLook(element->FirstChildElement("Fret"));
    return meters;
}

std::unique_ptr<StackVis> Stack(std::unique_ptr<VisBase> top, float topShare,
                                std::unique_ptr<VisBase> bottom, float bottomShare) {
    auto stack = std::make_unique<StackVis>();
    stack->Add(std::move(top), topShare);
    stack->Add(std::move(bottom), bottomShare);
    return stack;
}

}  // namespace

// Refreshed with every read-out and needle step: repainted alone over a copy of what lies beneath.
TuneVis::TuneVis() {
    KeepBackdrop();
}

TuneVis::~TuneVis() {
    SaveView();
}

void TuneVis::CreateFromXml(TiXmlElement* element) {
    Vis::CreateFromXml(element);
    TiXmlElement* hertzElement = GetChildElement(element, "Hertz");
    TiXmlElement* centsElement = GetChildElement(element, "Cents");
    HertzPolicy hertz;
    hertz.Load(hertzElement);
    CentsPolicy cents;
    cents.Load(centsElement);
    ScaleMeters inCents =
        MetersOf(cents, centsElement, {-50, -25, 0, 25, 50}, [](float value, float target) {
            return static_cast<float>(target * std::pow(2.0, value / 1200.0));
        });
    const float quarter = hertz.width / 4.0f;
    ScaleMeters inHertz =
        MetersOf(hertz, hertzElement, {-2 * quarter, -quarter, 0, quarter, 2 * quarter},
                 [](float offset, float target) { return target + offset; });
    AddView(Stack(std::move(inCents.meter), 0.74f, std::move(inCents.sliding), 0.26f));
    AddView(Stack(std::move(inHertz.meter), 0.74f, std::move(inHertz.sliding), 0.26f));
    AddView(Stack(std::move(inCents.fret), 0.5f, std::move(inHertz.fret), 0.5f));
    RestoreView();
}
