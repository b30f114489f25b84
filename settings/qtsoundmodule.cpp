// The entry point of the sound module, the one library of the game that links Qt Multimedia.
// The program loads it the first time it plays a sound (see MakeSoundOutput), so that it starts
// without the audio libraries.
#include "settings/qtsoundoutput.h"

extern "C" Q_DECL_EXPORT SoundOutput* PellinoraxisMakeSoundOutput(int interfaceVersion) {
    if (interfaceVersion != SoundOutputInterfaceVersion)
        return nullptr;
    return new QtSoundOutput;
}
