// The desktop window and how the logical picture is shown in it.
//
// The window covers the desktop at its own resolution (no mode change) and
// shows the picture centred at its aspect ratio with black bars. Pixels stay
// sharp and even: the picture is first enlarged by a whole factor with
// nearest sampling, then fitted smoothly into its rectangle, or shown at a
// whole factor directly when that fills the rectangle exactly. Full screen
// and a resizable window can be swapped; a minimised full-screen window comes
// back full-screen.
#pragma once
#include <cstdint>
#include <string>

#include "platform/sdl_layout.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
union SDL_Event;

namespace plat {

// SDL falls back to its invisible video drivers when no display is reachable;
// those count only when asked for by name (SDL_VIDEODRIVER, a list allowed).
bool video_driver_acceptable(const char* chosen, const char* requested);

class SdlDisplay {
 public:
  ~SdlDisplay() { close(); }
  // False, with `error` set to one line, when no usable display exists.
  bool open(const std::string& title, int logical_w, int logical_h, std::string& error);
  void close();
  bool is_open() const { return window_ != nullptr; }

  void set_title(const std::string& title);
  void present(const uint32_t* pixels, bool vsync);
  void show_pointer(bool visible);
  // Moves the system pointer onto logical pixel (x, y), clamped to the
  // picture; returns the logical pixel it now points at.
  Point warp_pointer(int x, int y);
  // A window position (mouse events) as a logical pixel, clamped.
  Point to_logical(int wx, int wy) const;
  // Where the picture is, in window coordinates.
  PictureRect picture_in_window() const;

  void toggle_fullscreen();
  bool fullscreen() const { return want_fullscreen_; }
  void on_event(const SDL_Event& e);   // window and render events
  SDL_Window* window() const { return window_; }   // for tests and tools

 private:
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* picture_ = nullptr;    // the logical picture, as given
  SDL_Texture* enlarged_ = nullptr;   // the whole-factor enlargement
  int logical_w_ = 0, logical_h_ = 0;
  int enlarged_factor_ = 0;
  int vsync_ = -1;                    // as last asked for; -1 not yet
  bool gl_ = false;                   // an OpenGL renderer: the only kind that can wait
  bool want_fullscreen_ = true;
  int windowed_w_ = 0, windowed_h_ = 0;

  bool make_textures();
  void drop_textures();
  SDL_Texture* enlarged(int factor);
  void choose_windowed_size();
  void set_vsync(bool on);
};

}  // namespace plat
