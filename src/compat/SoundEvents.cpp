// SPDX-License-Identifier: MIT
#include "compat/SoundEvents.h"
#include "compat/Version.h"

#include <canberra.h>
#include <cstring>
#include <dlfcn.h>
#include <link.h>

namespace compat {

namespace {
// libcanberra plays each sound on a thread of the driver module it loaded
// (libcanberra-alsa.so and the like) and unloads that module when its context
// is destroyed. A player thread still on its way out then runs code that is
// no longer mapped: a crash when the clock exits, or a context goes, right
// after an alarm sounded. The driver modules stay loaded for the whole run.
void keepDriverModulesLoaded()
{
    dl_iterate_phdr(
        [](dl_phdr_info *info, size_t, void *) {
            if (info->dlpi_name && std::strstr(info->dlpi_name, "/libcanberra-0."))
                dlopen(info->dlpi_name, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
}
} // namespace

SoundEvents::SoundEvents(const char *driver, const char *device)
{
    m_lastResult = ca_context_create(&m_context);
    if (m_lastResult != CA_SUCCESS) {
        m_context = nullptr;
        return;
    }
    if (driver)
        ca_context_set_driver(m_context, driver);
    if (device)
        ca_context_change_device(m_context, device);
    // How sound servers and volume mixers name and show our sounds.
    ca_context_change_props(m_context,
                            CA_PROP_APPLICATION_NAME, version::kApplicationName,
                            CA_PROP_APPLICATION_VERSION, version::kVersion,
                            CA_PROP_APPLICATION_ID, version::kDesktopId,
                            CA_PROP_APPLICATION_ICON_NAME, version::kDesktopId,
                            nullptr);
}

SoundEvents::~SoundEvents()
{
    if (!m_context)
        return;
    keepDriverModulesLoaded();
    ca_context_destroy(m_context);
}

bool SoundEvents::play(const char *eventId, const char *description)
{
    if (!m_context)
        return false;
    // The first sound opens the driver; nothing is opened at start-up.
    m_lastResult = ca_context_play(m_context, 0,
                                   CA_PROP_EVENT_ID, eventId,
                                   CA_PROP_EVENT_DESCRIPTION, description,
                                   nullptr);
    return m_lastResult == CA_SUCCESS;
}

const char *SoundEvents::lastError() const { return ca_strerror(m_lastResult); }

} // namespace compat
