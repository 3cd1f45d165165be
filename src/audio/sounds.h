// The game's sound effects and the looping factory sound.
#pragma once
#include "platform/audio.h"

extern audio::ChannelRef factory_channel;

int play_sound(const audio::SoundRef& sound);
int start_factory_loop();
