#include "SoundSystem.h"

#include "Bass.h"
#include "Logging.h"

bool OpenSoundSystem(void* owner) {
    if (BASS_RecordInit(-1) && BASS_Init(-1, 44100, 0, owner))
        return true;
    qCWarning(lcAudio, "the default recording device could not be opened");
    CloseSoundSystem();
    return false;
}

void CloseSoundSystem() {
    BASS_RecordSetServerProc(nullptr, nullptr);
    if (BASS_ChannelIsActive(kRecordChannel) != BASS_ACTIVE_STOPPED)
        BASS_ChannelStop(kRecordChannel);
    BASS_RecordFree();
    BASS_Stop();
    BASS_Free();
}

int InputVolume(int input) {
    const DWORD info = BASS_RecordGetInput(input);
    return info == static_cast<DWORD>(-1) ? kFallbackVolume : static_cast<int>(info & 0xFFFF);
}
