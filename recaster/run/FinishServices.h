#pragma once
// What the end of a run may do to the machine: play a finish sound and
// power the system off. Both sit behind replaceable services so tests
// never make a noise or switch anything off.
#include <QString>
#include <functional>

namespace rc {

// Plays a WAV file without waiting for its end.
using SoundPlayer = std::function<void(const QString& path)>;
void PlaySoundFile(const QString& path);
SoundPlayer SetSoundPlayer(SoundPlayer player);  // empty: the real one; returns the previous

// Asks the login manager to power the system off; false with the reason
// when it refuses.
using PowerOffService = std::function<bool(QString* error)>;
bool PowerOffSystem(QString* error);
PowerOffService SetPowerOffService(PowerOffService service);

}  // namespace rc
