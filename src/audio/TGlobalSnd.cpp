#include "audio/TGlobalSnd.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "data/TRCMFile.h"

TGlobalSnd globalSnd;

namespace {

// The effects the game triggers through named operations, resolved once.
enum Fx {
    FX_CLICK,
    FX_HOVER,
    FX_LEVEL_BEGIN,
    FX_TILE_BREAK,
    FX_CHIP_MOVE,
    FX_DESTROY_CHIP,
    FX_CROSSFIRE1,
    FX_CROSSFIRE2,
    FX_CROSSFIRE3,
    FX_BOMB1,
    FX_BOMB2,
    FX_BOMB3,
    FX_BAD_MATCH,
    FX_PUZZLE_MATCHED,
    FX_PUZZLE_CLICK,
    FX_CREATE_BONUS,
    FX_CHAIN_BREAK,
    FX_ADD_TO_CHAIN,
    FX_HAMMER,
    FX_MAGIC1,
    FX_MAGIC2,
    FX_SHUFFLE1,
    FX_SHUFFLE2,
    FX_POWERUP1,
    FX_POWERUP2,
    FX_POWERUP3,
    FX_POWERUP4,
    FX_POWERUP5,
    FX_POWERUP6,
    FX_EMITTER,
    FX_COUNT
};
const char* const kFxNames[FX_COUNT] = {
    "click",      "hover",          "level-begin",  "tile-break",   "chip-land",   "chip-destroy",
    "crossfire1", "crossfire2",     "crossfire3",   "bomb1",        "bomb2",       "bomb3",
    "bad-match",  "puzzle-matched", "puzzle-click", "create-bonus", "chain-break", "add-to-chain",
    "hammer",     "magic1",         "magic2",       "shuffle1",     "shuffle2",    "powerup1",
    "powerup2",   "powerup3",       "powerup4",     "powerup5",     "powerup6",    "emitter"};

std::string lower(const std::string& s) {
    std::string o(s);
    for (char& c : o) c = char(std::tolower(static_cast<unsigned char>(c)));
    return o;
}

float clamp01(float v) {
    if (!(v >= 0)) return 0;  // also NaN
    return v > 1 ? 1 : v;
}

float number(const TRCMGroupPtr& g, const char* key, float def) {
    TRCMEntryPtr e = g->getEntry(key);
    if (!e || e->_value.empty()) return def;
    const std::string& t = e->_value[0];
    char* end = nullptr;
    float v = std::strtof(t.c_str(), &end);
    if (end == t.c_str() || !std::isfinite(v)) return def;
    return v;
}

}  // namespace

static_assert(FX_COUNT <= 40, "grow TGlobalSnd::_fx");

TGlobalSnd::TGlobalSnd() : _out(std::make_shared<TSoundOutput>()) {}

TGlobalSnd::TGlobalSnd(std::shared_ptr<TSoundOutput> out) : _out(std::move(out)) {
    if (!_out) _out = std::make_shared<TSoundOutput>();
}

void TGlobalSnd::setOutput(std::shared_ptr<TSoundOutput> out) {
    _out = out ? std::move(out) : std::make_shared<TSoundOutput>();
}

int TGlobalSnd::_now() {
    return _out->now();
}

void TGlobalSnd::_report(const std::string& key, const std::string& text) {
    if (_reported.insert(key).second) std::fprintf(stderr, "globalSnd: %s\n", text.c_str());
}

void TGlobalSnd::_readGroup(TRCMFile& f, const char* group, std::unordered_map<std::string, TEntry>& into) {
    TRCMGroupPtr g = f.getGroup({group});
    if (!g) return;
    for (const TRCMGroupPtr& s : g->_listaGrup) {
        if (!s || s->_id.empty()) continue;
        TEntry e;
        e.name = s->_id;
        TRCMEntryPtr file = s->getEntry("file");
        if (file && !file->_value.empty()) e.file = file->_value[0];
        e.volume = clamp01(number(s, "volume", 1.0f));
        e.copies = std::max(1, std::min(kMaxCopies, int(number(s, "copies", 4))));
        e.gap = std::max(0, std::min(10000, int(number(s, "gap", 25))));
        std::string key = lower(e.name);
        if (into.count(key)) {
            _report("dup:" + key,
                    std::string("\"") + e.name + "\" appears twice in " + group + "; the first one is used");
            continue;
        }
        into.emplace(key, std::move(e));
    }
}

void TGlobalSnd::setup(const std::string& tablePath, const std::string& root) {
    _root = root;
    _sounds.clear();
    _jingles.clear();
    _music.clear();
    _levelMusic.clear();
    _loadedOk = 0;
    std::fill(std::begin(_fx), std::end(_fx), nullptr);
    std::fill(std::begin(_fxReported), std::end(_fxReported), false);
    for (TTrackSlot& s : _slots) {
        if (s.channel) _out->stop(s.channel);
        s = TTrackSlot();
    }

    TRCMFile f;
    if (!_out->exists(root + tablePath)) {
        _report("table", "no sound table " + root + tablePath + "; the game stays silent");
        return;
    }
    f.Load(root + tablePath);
    _readGroup(f, "sounds", _sounds);
    _readGroup(f, "jingles", _jingles);
    _readGroup(f, "music", _music);
    if (f.hasEntry("settings::crossFade"))
        _crossFadeMs = std::max(0, std::min(20000, f.getInt("settings::crossFade")));
    if (TRCMGroupPtr st = f.getGroup({"settings"}))
        if (TRCMEntryPtr lm = st->getEntry("levelMusic"))
            for (const std::string& n : lm->_value)
                if (!n.empty()) _levelMusic.push_back(n);

    // Effects are short: load them all now so nothing stalls during play.
    std::vector<TEntry*> undecoded;
    for (auto& kv : _sounds)
        if (!_load(kv.second, 0) && !kv.second.failed) undecoded.push_back(&kv.second);
    for (auto& kv : _jingles)
        if (!_load(kv.second, 0) && !kv.second.failed) undecoded.push_back(&kv.second);
    // A backend without audio answers every load with nothing; only when some
    // sound did decode is a file that did not a fault worth a line.
    for (TEntry* e : undecoded) {
        e->failed = true;
        if (_loadedOk > 0 || _out->decodes())
            _report("file:" + e->file, "cannot decode " + _root + e->file + " (sound \"" + e->name + "\")");
    }
    for (int i = 0; i < FX_COUNT; ++i) {
        auto it = _sounds.find(kFxNames[i]);
        _fx[i] = it == _sounds.end() ? nullptr : &it->second;
    }
}

// Loads an entry's file. False when there is no sound; a missing file is
// reported and marked failed here, an undecodable one is left to the caller.
bool TGlobalSnd::_load(TEntry& e, int flags) {
    if (e.sound) return true;
    if (e.failed) return false;
    if (e.file.empty()) {
        e.failed = true;
        _report("nofile:" + e.name, "sound \"" + e.name + "\" names no file");
        return false;
    }
    std::string path = _root + e.file;
    if (!_out->exists(path)) {
        e.failed = true;
        _report("file:" + e.file, "missing file " + path + " (sound \"" + e.name + "\")");
        return false;
    }
    e.sound = _out->load(path, flags);
    if (e.sound) ++_loadedOk;
    return e.sound != nullptr;
}

TGlobalSnd::TEntry* TGlobalSnd::_find(std::unordered_map<std::string, TEntry>& m, const std::string& name,
                                      const char* what) {
    auto it = m.find(name);
    if (it == m.end()) it = m.find(lower(name));
    if (it != m.end()) return &it->second;
    _report(std::string(what) + ":" + lower(name),
            std::string("no ") + what + " \"" + name + "\" in the sound table");
    return nullptr;
}

Channel TGlobalSnd::_play(TEntry* e, float volume, const char* name) {
    if (!e) {
        if (name)
            _report(std::string("sound:") + name,
                    std::string("no sound \"") + name + "\" in the sound table");
        return 0;
    }
    if (e->failed || !e->sound || _paused) return 0;
    int now = _now();
    // A cascade triggers the same short effect many times in one frame: let a
    // few copies through and drop the rest.
    if (now - e->lastStart < e->gap) return 0;
    int live = 0, free = -1;
    for (int i = 0; i < kMaxCopies; ++i) {
        Channel& ch = e->channels[i];
        if (ch && _out->playing(ch)) {
            ++live;
        } else {
            ch = 0;
            if (free < 0) free = i;
        }
    }
    if (live >= e->copies || free < 0) return 0;
    Channel ch = _out->cue(e->sound);
    if (!ch) return 0;
    _out->setVolume(ch, clamp01(_soundVolume * e->volume * volume));
    _out->resume(ch);
    e->channels[free] = ch;
    e->lastStart = now;
    return ch;
}

Channel TGlobalSnd::playSound(const std::string& name, float volume) {
    TEntry* e = _find(_sounds, name, "sound");
    if (!e) return 0;
    return _play(e, volume, nullptr);
}

bool TGlobalSnd::hasSound(const std::string& name) const {
    return _sounds.count(lower(name)) != 0;
}

void TGlobalSnd::_playFx(int index) {
    if (!_fx[index]) {
        // reported once; later calls cost nothing
        if (!_fxReported[index]) _play(nullptr, 1.0f, kFxNames[index]);
        _fxReported[index] = true;
        return;
    }
    _play(_fx[index], 1.0f, kFxNames[index]);
}

void TGlobalSnd::click() {
    _playFx(FX_CLICK);
}
void TGlobalSnd::playHover() {
    _playFx(FX_HOVER);
}
void TGlobalSnd::playLevelBegin() {
    _playFx(FX_LEVEL_BEGIN);
}
void TGlobalSnd::playTileBreak() {
    _playFx(FX_TILE_BREAK);
}
void TGlobalSnd::playChipMove() {
    _playFx(FX_CHIP_MOVE);
}
void TGlobalSnd::playDestroyChip() {
    _playFx(FX_DESTROY_CHIP);
}
void TGlobalSnd::playCROSSFIRE(int n) {
    _playFx(FX_CROSSFIRE1 + std::max(1, std::min(3, n)) - 1);
}
void TGlobalSnd::playBOMB(int n) {
    _playFx(FX_BOMB1 + std::max(1, std::min(3, n)) - 1);
}
void TGlobalSnd::playBadMatch() {
    _playFx(FX_BAD_MATCH);
}
void TGlobalSnd::playPuzzleMatched() {
    _playFx(FX_PUZZLE_MATCHED);
}
void TGlobalSnd::playPuzzleClick() {
    _playFx(FX_PUZZLE_CLICK);
}
void TGlobalSnd::playCreateBonus() {
    _playFx(FX_CREATE_BONUS);
}
void TGlobalSnd::playChainBreak() {
    _playFx(FX_CHAIN_BREAK);
}
void TGlobalSnd::playAddToChain() {
    _playFx(FX_ADD_TO_CHAIN);
}
void TGlobalSnd::playHammer() {
    _playFx(FX_HAMMER);
}
void TGlobalSnd::playMagic(int n) {
    _playFx(n == 2 ? FX_MAGIC2 : FX_MAGIC1);
}
void TGlobalSnd::playShuffle(int n) {
    _playFx(n == 2 ? FX_SHUFFLE2 : FX_SHUFFLE1);
}
void TGlobalSnd::playPowerUpCharged(int n) {
    _playFx(FX_POWERUP1 + std::max(1, std::min(6, n)) - 1);
}
void TGlobalSnd::playEmitter() {
    _playFx(FX_EMITTER);
}
void TGlobalSnd::playCaption(const std::string& caption) {
    playSound("caption-" + caption);
}

// ---------------------------------------------------------------------------
// Music

void TGlobalSnd::_applyTrackVolume(TTrackSlot& s) {
    if (!s.channel || !s.entry) return;
    // equal-power curve: a cross-fade keeps the loudness steady
    float g = std::sin(s.level * 1.57079633f);
    _out->setVolume(s.channel, clamp01(_musicVolume * s.entry->volume * g));
}

TGlobalSnd::TTrackSlot* TGlobalSnd::_activeSlot() {
    for (TTrackSlot& s : _slots)
        if (s.entry && s.target > 0) return &s;
    return nullptr;
}

void TGlobalSnd::_startTrack(TEntry* e) {
    // a free slot, else the quietest one makes room
    TTrackSlot* slot = nullptr;
    for (TTrackSlot& s : _slots)
        if (!s.entry) {
            slot = &s;
            break;
        }
    if (!slot) {
        slot = &_slots[0];
        for (TTrackSlot& s : _slots)
            if (s.level < slot->level) slot = &s;
        if (slot->channel) _out->stop(slot->channel);
        *slot = TTrackSlot();
    }
    if (!e->sound && !e->failed && !_load(*e, 1)) {
        e->failed = true;
        if (_loadedOk > 0 || _out->decodes())
            _report("file:" + e->file, "cannot decode " + _root + e->file + " (music \"" + e->name + "\")");
    }
    slot->entry = e;
    slot->sound = e->sound;
    slot->level = _crossFadeMs > 0 ? 0.0f : 1.0f;
    slot->target = 1;
    if (e->sound && !_paused) {
        slot->channel = _out->cue(e->sound);
        _applyTrackVolume(*slot);
        if (slot->channel) _out->resume(slot->channel);
    }
    // Keep decoded music only while it plays: tracks are large.
    for (auto& kv : _music) {
        TEntry& m = kv.second;
        if (!m.sound || &m == e) continue;
        bool used = false;
        for (TTrackSlot& s : _slots) used = used || s.entry == &m || s.sound == m.sound;
        if (!used) m.sound.reset();
    }
}

void TGlobalSnd::playMyMusic(const std::string& name) {
    _queuedMusic.clear();
    TEntry* e = _find(_music, name, "music");
    if (!e) return;  // keep what plays now
    // The same track (by file) already on: leave it, or bring it back if it
    // was fading out.
    TTrackSlot* same = nullptr;
    for (TTrackSlot& s : _slots)
        if (s.entry && s.entry->file == e->file && (!same || s.level > same->level)) same = &s;
    if (same) {
        for (TTrackSlot& s : _slots)
            if (&s != same) s.target = 0;
        same->target = 1;
        same->entry = e;
        return;
    }
    for (TTrackSlot& s : _slots)
        if (s.entry) s.target = 0;
    _startTrack(e);
}

void TGlobalSnd::shutDownMusic() {
    for (TTrackSlot& s : _slots)
        if (s.entry) s.target = 0;
}

void TGlobalSnd::setPendingMusicVolume(float v) {
    v = clamp01(v);
    for (TTrackSlot& s : _slots)
        if (s.entry && s.target > 0) s.target = v;
}

void TGlobalSnd::playLevelMusic() {
    if (_levelMusic.empty()) {
        _report("levelMusic", "the sound table lists no levelMusic");
        return;
    }
    if (TTrackSlot* a = _activeSlot())
        for (const std::string& n : _levelMusic)
            if (lower(n) == lower(a->entry->name)) return;  // a level track is on: keep it
    _levelTurn = (_levelTurn + 1) % int(_levelMusic.size());
    playMyMusic(_levelMusic[size_t(_levelTurn)]);
}

void TGlobalSnd::playJingle(const std::string& name) {
    TEntry* e = _find(_jingles, name, "jingle");
    if (!e) return;
    if (_jingle) _out->stop(_jingle);
    _jingle = 0;
    if (!e->sound || _paused) return;
    _jingle = _out->cue(e->sound);
    if (!_jingle) return;
    _jingleVolume = e->volume;
    _out->setVolume(_jingle, clamp01(_musicVolume * _jingleVolume));
    _out->resume(_jingle);
}

void TGlobalSnd::playWINMusic() {
    shutDownMusic();
    playJingle("win");
    _queuedMusic = "win";
}

void TGlobalSnd::playLOSEMusic() {
    shutDownMusic();
    _queuedMusic.clear();
    playJingle("lose");
}

std::string TGlobalSnd::currentMusic() const {
    for (const TTrackSlot& s : _slots)
        if (s.entry && s.target > 0) return s.entry->name;
    return "";
}

float TGlobalSnd::musicLevel(const std::string& name) const {
    float best = 0;
    std::string n = lower(name);
    for (const TTrackSlot& s : _slots)
        if (s.entry && lower(s.entry->name) == n) best = std::max(best, s.level);
    return best;
}

void TGlobalSnd::setMusicVolume(float v) {
    _musicVolume = clamp01(v);
    for (TTrackSlot& s : _slots) _applyTrackVolume(s);
    if (_jingle) _out->setVolume(_jingle, clamp01(_musicVolume * _jingleVolume));
}

void TGlobalSnd::setSoundVolume(float v) {
    _soundVolume = clamp01(v);
}

void TGlobalSnd::update() {
    int now = _now();
    if (!_started) {
        _started = true;
        _lastUpdate = now;
    }
    // A long frame (loading, a stall) must not make fades jump.
    int dt = std::max(0, std::min(100, now - _lastUpdate));
    _lastUpdate = now;
    if (_paused) return;
    float step = _crossFadeMs > 0 ? float(dt) / float(_crossFadeMs) : 1.0f;
    for (TTrackSlot& s : _slots) {
        if (!s.entry) continue;
        float before = s.level;
        if (s.level < s.target)
            s.level = std::min(s.target, s.level + step);
        else if (s.level > s.target)
            s.level = std::max(s.target, s.level - step);
        if (s.level != before) _applyTrackVolume(s);
        if (s.level <= 0 && s.target <= 0) {
            if (s.channel) _out->stop(s.channel);
            s = TTrackSlot();
        }
    }
    if (!_queuedMusic.empty() && !(_jingle && _out->playing(_jingle))) {
        std::string next;
        next.swap(_queuedMusic);
        playMyMusic(next);
    }
}

void TGlobalSnd::release() {
    for (TTrackSlot& s : _slots) {
        if (s.channel) _out->stop(s.channel);
        s = TTrackSlot();
    }
    if (_jingle) _out->stop(_jingle);
    _jingle = 0;
    _queuedMusic.clear();
    _pausedChannels.clear();
    _paused = false;
    for (auto* m : {&_sounds, &_jingles, &_music})
        for (auto& kv : *m) {
            for (Channel& ch : kv.second.channels) {
                if (ch) _out->stop(ch);
                ch = 0;
            }
            kv.second.sound.reset();
        }
}

void TGlobalSnd::stopAllSounds() {
    if (_paused) return;
    _paused = true;
    _pausedChannels.clear();
    auto hold = [this](Channel ch) {
        if (ch && _out->playing(ch)) {
            _out->pause(ch);
            _pausedChannels.push_back(ch);
        }
    };
    for (TTrackSlot& s : _slots) hold(s.channel);
    hold(_jingle);
    for (auto& kv : _sounds)
        for (Channel ch : kv.second.channels) hold(ch);
}

void TGlobalSnd::resumeAllSounds() {
    if (!_paused) return;
    _paused = false;
    for (Channel ch : _pausedChannels) _out->resume(ch);
    _pausedChannels.clear();
    _lastUpdate = _now();
}
