#include "settings/AppSettings.h"

#include <cmath>

#include <boost/format.hpp>

#include "pym/base/Singleton.h"
#include "settings/Version.h"

namespace {
// The analyser's frame: 2048 samples at 11025 Hz.
constexpr double kAnalysisFrame = 2048.0;
constexpr double kAnalysisRate = 11025.0;
}  // namespace

AppSettings::AppSettings()
    : version((boost::format("%d.%d.%d") % OndrelVersion::kMajor % OndrelVersion::kMinor %
               OndrelVersion::kPatch)
                  .str()) {}

int AppSettings::SpectrumBinCount(int topFrequency) {
    return static_cast<int>(std::lround(topFrequency * kAnalysisFrame / kAnalysisRate));
}

void AppSettings::SetSpectrumTopFrequency(int hertz) {
    spectrumTopFrequency_ = hertz;
    if (tunerCallback) tunerCallback(SpectrumBinCount(hertz));
}

std::string AppSettings::NoteLetters(float frequency) const {
    const OctaveEntry* entry = octaveLookup.Nearest(frequency);
    return entry ? entry->letters : std::string();
}

std::string AppSettings::NoteName(float frequency) const {
    const OctaveEntry* entry = octaveLookup.Nearest(frequency);
    return entry ? entry->name : std::string();
}

float AppSettings::PreviousFrequency(float frequency) const {
    const OctaveEntry* entry = octaveLookup.Nearest(frequency);
    return entry ? octaveLookup.Previous(*entry).frequency : frequency;
}

float AppSettings::NextFrequency(float frequency) const {
    const OctaveEntry* entry = octaveLookup.Nearest(frequency);
    return entry ? octaveLookup.Next(*entry).frequency : frequency;
}

AppSettings& DllAppSettingsInstance() {
    return Pym::Singleton<AppSettings>::Instance();
}
