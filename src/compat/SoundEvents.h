// SPDX-License-Identifier: MIT
#pragma once

struct ca_context;

namespace compat {

// The desktop's event sounds, looked up by event id in the freedesktop sound
// theme and played through libcanberra (PulseAudio, PipeWire or ALSA,
// whichever libcanberra finds).
class SoundEvents
{
public:
    // `driver` and `device` choose a libcanberra driver and output device;
    // null leaves the choice to libcanberra (and to CANBERRA_DRIVER and
    // CANBERRA_DEVICE).
    explicit SoundEvents(const char *driver = nullptr, const char *device = nullptr);
    ~SoundEvents();
    SoundEvents(const SoundEvents &) = delete;
    SoundEvents &operator=(const SoundEvents &) = delete;

    // Starts the sound for `eventId` and returns at once. False when it
    // cannot be played: no sound driver or device, no sound for that event in
    // the theme, or event sounds switched off.
    bool play(const char *eventId, const char *description);

    // libcanberra's error text for the last failed play().
    const char *lastError() const;

private:
    ca_context *m_context = nullptr;
    int m_lastResult = 0;
};

} // namespace compat
