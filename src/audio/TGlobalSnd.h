// The sound manager: effects and music played by name from the sound table
// "data/globalSnd.dat", with separate music and effect volumes, music that
// cross-fades between tracks, and a cap on the same short effect piling up.
//
// Table layout (grouped key-value file):
//   settings { crossFade = 1200   levelMusic = "level1", "level2" }
//   sounds   { click { file = "snd/click.ogg"  volume = 0.5  copies = 3  gap = 30 } ... }
//   jingles  { win { file = "snd/win.ogg"  volume = 0.9 } ... }     (music volume)
//   music    { title-screen { file = "music/title.ogg"  volume = 0.8 } ... }
// A name the table lacks, a missing file or one that cannot be decoded is
// reported on stderr once, then that sound stays silent.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Services.h"
#include "audio/TSoundOutput.h"

class TGlobalSnd {
public:
    static constexpr int kMaxCopies = 8;   // channels remembered per effect
    static constexpr int kMusicSlots = 3;  // tracks audible at once while fading

    TGlobalSnd();
    explicit TGlobalSnd(std::shared_ptr<TSoundOutput> out);

    void setOutput(std::shared_ptr<TSoundOutput> out);
    // Reads the table and loads every effect; music loads when first asked
    // for. `root` is put in front of the table's path and of every file.
    void setup(const std::string& tablePath = "data/globalSnd.dat", const std::string& root = "");
    // Once a frame: fades, queued music, finished tracks.
    void update();
    // Stops every channel and drops every decoded sound; call before the
    // audio backend goes away. setup() loads them again.
    void release();

    // Volumes 0..1 (from the settings).
    void setMusicVolume(float v);
    float getMusicVolume() const { return _musicVolume; }
    void setSoundVolume(float v);
    float getSoundVolume() const { return _soundVolume; }
    // The level the playing music fades towards (0 fades it out; the next
    // music request brings the level back to 1).
    void setPendingMusicVolume(float v);

    // Effects by name; the volume multiplies the table's and the settings'.
    // Returns the channel, 0 when nothing was started.
    Channel playSound(const std::string& name, float volume = 1.0f);
    bool hasSound(const std::string& name) const;

    // Music by name. The same track already playing goes on undisturbed.
    void playMyMusic(const std::string& name);
    // Fades out what plays now (a jingle's follow-up music still comes).
    void shutDownMusic();
    void playLevelMusic();  // the level tracks in turn; a level track already on stays
    void playWINMusic();    // the win jingle, then the win music
    void playLOSEMusic();   // music fades out, the lose jingle plays
    void playJingle(const std::string& name);

    // The game's effects.
    void click();
    void playHover();
    void playLevelBegin();
    void playTileBreak();
    void playChipMove();
    void playDestroyChip();
    void playCROSSFIRE(int n);  // 1..3
    void playBOMB(int n);       // 1..3
    void playBadMatch();
    void playPuzzleMatched();
    void playPuzzleClick();
    void playCreateBonus();
    void playChainBreak();
    void playAddToChain();
    void playHammer();
    void playMagic(int n);                         // 1 vanish colour, 2 replace
    void playShuffle(int n);                       // 1..2
    void playPowerUpCharged(int n);                // power-up slot 1..6
    void playEmitter();                            // the random-removal emitter
    void playCaption(const std::string& caption);  // caption picture name, e.g. "go"

    // Window lost / regained the focus: everything pauses and comes back.
    void stopAllSounds();
    void resumeAllSounds();

    // What is going on, for the options screen and for tests.
    std::string currentMusic() const;                 // name of the track faded in or fading in; "" for none
    float musicLevel(const std::string& name) const;  // fade level 0..1 of a track, 0 if not playing
    int crossFadeMs() const { return _crossFadeMs; }
    bool paused() const { return _paused; }

private:
    struct TEntry {
        std::string name;
        std::string file;  // as in the table
        float volume = 1;
        int copies = 4;
        int gap = 25;  // ms before the same effect may start again
        SoundPtr sound;
        bool failed = false;  // missing or undecodable: stays silent
        Channel channels[kMaxCopies] = {};
        int lastStart = -1000000;
    };
    struct TTrackSlot {
        const TEntry* entry = nullptr;
        SoundPtr sound;
        Channel channel = 0;
        float level = 0, target = 0;
        bool fadingOut() const { return target <= 0; }
    };

    std::shared_ptr<TSoundOutput> _out;
    std::string _root;
    std::unordered_map<std::string, TEntry> _sounds, _jingles, _music;
    std::vector<std::string> _levelMusic;
    int _levelTurn = -1;
    int _crossFadeMs = 1200;
    float _musicVolume = 1, _soundVolume = 1, _pending = 1;
    TTrackSlot _slots[kMusicSlots];
    Channel _jingle = 0;
    float _jingleVolume = 1;
    std::string _queuedMusic;  // starts when the jingle ends
    int _lastUpdate = 0;
    bool _started = false;
    bool _paused = false;
    int _loadedOk = 0;  // effects that decoded: tells a silent backend from bad files
    std::vector<Channel> _pausedChannels;
    std::set<std::string> _reported;
    // resolved once so the hot calls do no look-ups
    TEntry* _fx[40] = {};
    bool _fxReported[40] = {};

    void _readGroup(class TRCMFile& f, const char* group, std::unordered_map<std::string, TEntry>& into);
    TEntry* _find(std::unordered_map<std::string, TEntry>& m, const std::string& name, const char* what);
    bool _load(TEntry& e, int flags);
    Channel _play(TEntry* e, float volume, const char* name);
    void _playFx(int index);
    void _report(const std::string& key, const std::string& text);
    void _applyTrackVolume(TTrackSlot& s);
    void _startTrack(TEntry* e);
    TTrackSlot* _activeSlot();
    int _now();
};

extern TGlobalSnd globalSnd;
