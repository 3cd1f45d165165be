// Effects on channels of their own at the effects volume; the factory loop
// loaded afresh on a new channel for every game.
#include "shell/harness.h"

namespace {

class SoundsTest : public GameTest {
 protected:
  ChannelLog log;
  void SetUp() override {
    GameTest::SetUp();
    make_world();
    audio::set_observer(&log);
  }
};

TEST_F(SoundsTest, EveryEffectGetsANewChannelAtTheEffectsVolume) {
  install_sounds();
  throw_sound = audio::load_sound("data\\throw.ogg", false);
  for (float volume : {1.0f, 0.3f, 0.0f}) {
    SCOPED_TRACE(volume);
    sound_volume = volume;
    log.ops.clear();
    play_sound(throw_sound);
    play_sound(throw_sound);
    // Each one freshly cued ("start" is the first resume of a cued channel),
    // given the volume first; even at volume 0.
    const std::string v = "volume " + std::to_string(volume);
    std::vector<std::string> ops;
    for (const ChannelLog::Op& op : log.ops)
      ops.push_back(op.what == "volume" ? "volume " + std::to_string(op.volume) : op.what);
    EXPECT_EQ(ops, (std::vector<std::string>{v, "start", v, "start"}));
    ASSERT_EQ(log.ops.size(), 4u);
    EXPECT_EQ(log.ops[0].ch, log.ops[1].ch);
    // Both still sound, so both are alive and distinct.
    EXPECT_NE(log.ops[0].ch, log.ops[2].ch);
  }
}

TEST_F(SoundsTest, AMissingSoundPlaysNothingAndHarmsNothing) {
  play_sound(nullptr);
  factory_volume = 0.5f;
  start_factory_loop();   // no data\factory.ogg here
  ASSERT_TRUE(factory_channel);
  EXPECT_FALSE(audio::playing(*factory_channel));
  audio::stop(*factory_channel);
}

TEST_F(SoundsTest, FactoryLoopStartsAfreshOnANewChannel) {
  install_sounds();
  factory_volume = 0.7f;
  start_factory_loop();
  const audio::ChannelRef first = factory_channel;
  audio::stop(*first);   // as every way out of play does
  start_factory_loop();
  const audio::ChannelRef second = factory_channel;
  EXPECT_NE(first, second);
  const std::vector<std::string> want = {"volume " + std::to_string(0.7f), "start"};
  EXPECT_EQ(log.on(first.get()), (std::vector<std::string>{"volume " + std::to_string(0.7f), "start", "stop"}));
  EXPECT_EQ(log.on(second.get()), want);
  EXPECT_TRUE(audio::playing(*second));
  ASSERT_TRUE(audio::channel_sound(*first) && audio::channel_sound(*second));
  EXPECT_NE(audio::channel_sound(*first), audio::channel_sound(*second));   // loaded again
  EXPECT_EQ(audio::sound_name(*audio::channel_sound(*second)), "factory.ogg");
  audio::stop(*second);
}

}  // namespace
