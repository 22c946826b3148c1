#include "settings/MetronomeProfile.h"

#include <boost/lexical_cast.hpp>

#include "platform/ProfileStore.h"
#include "pym/base/Singleton.h"
#include "pym/base/Trace.h"

namespace {

struct ProfileSection {
    std::string name = "Metronome Settings";
};

}  // namespace

const std::string& MetronomeProfileSection() {
    return Pym::Singleton<ProfileSection>::Instance().name;
}

int ReadProfileInt(const std::string& key, int defaultValue) {
    std::string text = ReadProfileString(key, boost::lexical_cast<std::string>(defaultValue));
    int value = defaultValue;
    if (!boost::conversion::try_lexical_convert(text, value)) return defaultValue;
    return value;
}

bool WriteProfileInt(const std::string& key, int value) {
    std::string text;
    if (!boost::conversion::try_lexical_convert(value, text)) return false;
    return WriteProfileString(key, text);
}

std::string ReadProfileString(const std::string& key, const std::string& defaultValue) {
    return Platform::Profile().GetProfileString(MetronomeProfileSection(), key, defaultValue);
}

bool WriteProfileString(const std::string& key, const std::string& text) {
    return WriteProfileStrings({{key, text}});
}

bool WriteProfileStrings(const std::vector<std::pair<std::string, std::string>>& entries) {
    Platform::ProfileStore& profile = Platform::Profile();
    if (profile.WriteProfileStrings(MetronomeProfileSection(), entries)) return true;
    std::string keys;
    for (const auto& entry : entries) keys += (keys.empty() ? "" : ", ") + entry.first;
    Pym::Report("cannot save the settings (" + keys + "): " + profile.LastError());
    return false;
}
