#pragma once
// Audio files play through the audio library, not the media graph: which files are audio files, opening and
// starting a stream, its length, a seek to a second, and the end of the stream for the audio tick.

#include <cstdint>
#include <string>

// True when FileName's extension (from the last "." of its name, any case) is .mp3, .mp2, .mp1, .ogg, .wav or
// .aif.
bool IsAudioFile(const std::string& FileName);

// Opens FileName as the one audio stream and starts it: the previous stream is freed, AudioLength and
// AudioSeconds are set, the picture size is 550 x 350 and the state is playing with PlayType 4. Returns
// whether the file now plays. A missing file changes nothing; a file the library cannot play leaves no stream
// and nothing playing, with PlayType as it was.
bool PlayAudioFile(const std::string& FileName);

// Ten parametric-equaliser effects on the new stream (neutral: their parameters are never set).
void AddEqualizerEffects();

// Moves the stream to Seconds, clamped to 0 .. AudioSeconds and to the stream's real length; only while
// playing or paused (IsPlaying) and between progress ticks (PositionReady).
void SeekAudioSeconds(std::int64_t Seconds);

// True when there is a stream and it has played to its own end (its position is then its length). The audio
// tick ends the medium on this, not on the rounded seconds, so that the tail of a track is never cut.
bool AudioStreamEnded();
