#include "web/transport_settings.h"

#include <mutex>
#include <utility>

namespace velmo::web {
namespace {

// Workers read the settings while a test may be replacing them, so both sides
// take the lock; a request copies them once at its start.
std::mutex& SettingsMutex() {
  static std::mutex mutex;
  return mutex;
}

TransportSettings& SettingsStore() {
  static TransportSettings settings;
  return settings;
}

}  // namespace

TransportSettings CurrentTransportSettings() {
  const std::lock_guard lock(SettingsMutex());
  return SettingsStore();
}

void SetTransportSettings(TransportSettings settings) {
  const std::lock_guard lock(SettingsMutex());
  SettingsStore() = std::move(settings);
}

ScopedTransportSettings::ScopedTransportSettings(TransportSettings settings)
    : previous_(CurrentTransportSettings()) {
  SetTransportSettings(std::move(settings));
}

ScopedTransportSettings::~ScopedTransportSettings() {
  SetTransportSettings(std::move(previous_));
}

}  // namespace velmo::web
