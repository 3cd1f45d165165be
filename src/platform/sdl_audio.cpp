// SDL audio device -> audio::mix.
#include "platform/sdl_audio.h"

#include <SDL2/SDL.h>

#include "platform/audio.h"
#include "platform/sdl_quiet_stderr.h"

namespace plat {
namespace {

void pull(void*, Uint8* stream, int len) {
  audio::mix(reinterpret_cast<int16_t*>(stream), len / int(audio::MIX_CHANNELS * sizeof(int16_t)));
}

}  // namespace

bool SdlAudio::open(std::string& error) {
  close();
  QuietStderr quiet;   // ALSA alone writes eight lines when there is no card
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    error = std::string("no audio output (") + SDL_GetError() + "), playing silently";
    return false;
  }
  SDL_AudioSpec want{}, have{};
  want.freq = RATE;
  want.format = AUDIO_S16SYS;
  want.channels = audio::MIX_CHANNELS;
  want.samples = BUFFER_FRAMES;
  want.callback = pull;
  // No changes allowed: SDL converts if the card insists on something else,
  // and the callback always sees exactly this format and buffer size.
  device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (device_ == 0) {
    error = std::string("no audio output (") + SDL_GetError() + "), playing silently";
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  buffer_frames_ = have.samples;
  audio::set_output_rate(have.freq);
  SDL_PauseAudioDevice(device_, 0);
  return true;
}

void SdlAudio::close() {
  if (device_ == 0) return;
  SDL_CloseAudioDevice(device_);
  device_ = 0;
  buffer_frames_ = 0;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace plat
