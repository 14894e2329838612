#include "platform/SoundEvents.h"
#include "platform/Version.h"

#include <canberra.h>

namespace platform {

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
    if (m_context)
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

} // namespace platform
