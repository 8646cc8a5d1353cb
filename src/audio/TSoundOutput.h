// Where the sound manager's decisions go: the platform's audio channels by
// default. Tests put a recorder here to see which file was loaded, which
// channel got which volume and when, without any audio device.
#pragma once

#include <string>

#include "platform/Services.h"

class TSoundOutput {
public:
    virtual ~TSoundOutput() = default;
    virtual SoundPtr load(const std::string& path, int flags) { return LoadSound(path, flags); }
    virtual Channel cue(const SoundPtr& snd) { return CueSound(snd); }
    virtual void resume(Channel ch) { ResumeChannel(ch); }
    virtual void pause(Channel ch) { PauseChannel(ch); }
    virtual void stop(Channel ch) { StopChannel(ch); }
    virtual void setVolume(Channel ch, float v) { SetChannelVolume(ch, v); }
    virtual bool playing(Channel ch) { return ChannelPlaying(ch); }
    virtual int now() { return Millisecs(); }
    // Whether a file is there at all (a missing file and an undecodable one
    // are reported differently).
    virtual bool exists(const std::string& path);
    // Whether loads really decode: the null backend answers every load with
    // nothing, and that is no fault of the files.
    virtual bool decodes();
};
