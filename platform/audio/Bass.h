#pragma once
// The audio library the player plays audio files through: streams from files, their transport, positions and
// lengths, one output volume for every stream, and effect slots.
//
// Each stream is its own GStreamer pipeline (file, decoder, converter, equaliser, volume, output), prerolled
// when it is created, so that its length is known at once. Byte positions count decoded sample frames in the
// sample format that the stream's flags name (8-bit: one byte per sample and channel, float: four, otherwise
// two), at the file's own sample rate and channel count; decoding and output are at full quality whatever the
// flags. After the end of a stream its position equals its length (the length is then the end of the last
// sample). A stream whose decoding or output fails while it plays has ended there for good: it is stopped at
// its length (the length known before), and play and seeks fail on it.
//
// Handles are never reused, so a stale or zero handle names no stream: every call then fails harmlessly
// (FALSE, 0, -1 or a negative number of seconds). Calls may come from any thread.

#include <cstdint>

namespace bass {

using BOOL = int;
using DWORD = std::uint32_t;
using QWORD = std::uint64_t;
using HSTREAM = DWORD;
using HFX = DWORD;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

// Stream flags.
constexpr DWORD BASS_SAMPLE_8BITS = 1;
constexpr DWORD BASS_SAMPLE_FLOAT = 256;

// Position mode.
constexpr DWORD BASS_POS_BYTE = 0;

// Effect types.
constexpr DWORD BASS_FX_DX8_PARAMEQ = 7;

// What BASS_ChannelIsActive reports.
constexpr DWORD BASS_ACTIVE_STOPPED = 0; // never played, stopped, or played to its end
constexpr DWORD BASS_ACTIVE_PLAYING = 1;
constexpr DWORD BASS_ACTIVE_PAUSED = 3;

// The library's version: high word 0x0204 (2.4).
DWORD BASS_GetVersion();

// Initialises the output. Device -1 is the default output: the desktop's, or a clocked fake output when none
// opens (and for a stream that the desktop's fails to start). The frequency, flags, window and class
// identifier are accepted and not needed. May be called again.
BOOL BASS_Init(int device, DWORD freq, DWORD flags, void* win, const void* clsid);

// A stream that plays file (a path, mem FALSE, offset 0 and length 0: the whole file), prerolled and not yet
// playing; 0 when the library is not initialised, the path names no regular file (a FIFO, a device, a folder)
// or the file cannot be played as audio.
HSTREAM BASS_StreamCreateFile(BOOL mem, const void* file, QWORD offset, QWORD length, DWORD flags);

// Stops the stream and releases it; its handle names nothing afterwards.
BOOL BASS_StreamFree(HSTREAM handle);

// Plays the stream from where it stands, or from its start when restart is TRUE.
BOOL BASS_ChannelPlay(DWORD handle, BOOL restart);
// Pauses it at its position.
BOOL BASS_ChannelPause(DWORD handle);
// Stops it; it keeps its position and BASS_ChannelPlay goes on from there.
BOOL BASS_ChannelStop(DWORD handle);
// Playing, paused or stopped (which includes a stream that has played to its end).
DWORD BASS_ChannelIsActive(DWORD handle);

// Length and position in bytes (mode BASS_POS_BYTE); -1 when the handle is invalid or the length is unknown.
QWORD BASS_ChannelGetLength(DWORD handle, DWORD mode);
QWORD BASS_ChannelGetPosition(DWORD handle, DWORD mode);
// Moves the stream to pos (clamped to its length, however large; at the length the stream has ended). A
// paused stream stays paused. Returns when the stream stands at the new position. pos -1 is the library's
// error value: FALSE.
BOOL BASS_ChannelSetPosition(DWORD handle, QWORD pos, DWORD mode);

// Conversions between bytes and seconds in the stream's format; a negative number of seconds when the handle
// is invalid or pos is -1, and -1 bytes for an invalid handle or a negative or not finite number of seconds.
// Seconds past what bytes can count saturate at the last whole sample frame below -1.
double BASS_ChannelBytes2Seconds(DWORD handle, QWORD pos);
QWORD BASS_ChannelSeconds2Bytes(DWORD handle, double pos);

// The output volume 0..1 of every stream, the playing ones and those created later. FALSE outside 0..1.
BOOL BASS_SetVolume(float volume);

// Adds an effect to the stream: BASS_FX_DX8_PARAMEQ adds one band of a parametric equaliser, at gain 0 (no
// audible change). The priority is accepted. 0 for other types, an invalid handle or when no band is left.
HFX BASS_ChannelSetFX(DWORD handle, DWORD type, int priority);

} // namespace bass
