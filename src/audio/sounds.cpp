// Effects are fire-and-forget, each on a channel of its own; the factory loop
// has the one reserved channel and is loaded afresh for every game, so each
// game hears it from its start.
#include "audio/sounds.h"

#include "platform/audio.h"
#include "screens/screens.h"

audio::ChannelRef factory_channel;

int play_sound(const audio::SoundRef& sound) {
  audio::ChannelRef ch = audio::cue_sound(sound);
  if (!ch) return 0;
  audio::set_volume(*ch, sound_volume);
  audio::resume(*ch);
  return 0;
}

int start_factory_loop() {
  audio::SoundRef loop = audio::load_sound("data\\factory.ogg", true);
  // The old channel is let go unstopped: every way out of play stopped it already.
  factory_channel = audio::cue_sound(loop);
  if (!factory_channel) factory_channel = audio::idle_channel();
  audio::set_volume(*factory_channel, factory_volume);
  audio::resume(*factory_channel);
  return 0;
}
