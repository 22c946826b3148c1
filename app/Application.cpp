#include "app/Application.h"

#include "platform/ProfileStore.h"

void Application::SetRegistryKey(const std::string& key) {
    Platform::Profile().SetRegistryKey(key);
}

const std::string& Application::RegistryKey() const {
    return Platform::Profile().RegistryKey();
}
