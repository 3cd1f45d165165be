// Window, renderer, scaling and presentation.
#include "platform/sdl_display.h"

#include <SDL2/SDL.h>

#include <cctype>
#include <cstring>
#include <vector>

#include "platform/sdl_icon.h"
#include "platform/sdl_quiet_stderr.h"

namespace plat {
namespace {

bool same_name(const char* a, size_t alen, const char* b) {
  if (std::strlen(b) != alen) return false;
  for (size_t i = 0; i < alen; ++i)
    if (std::tolower((unsigned char)a[i]) != std::tolower((unsigned char)b[i])) return false;
  return true;
}

void set_icon(SDL_Window* w) {
  std::vector<uint32_t> px = window_icon_pixels();
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(px.data(), ICON_SIZE, ICON_SIZE, 32,
                                                      ICON_SIZE * 4, SDL_PIXELFORMAT_ARGB8888);
  if (!s) return;
  SDL_SetWindowIcon(w, s);
  SDL_FreeSurface(s);
}

}  // namespace

bool video_driver_acceptable(const char* chosen, const char* requested) {
  if (!chosen) return false;
  if (SDL_strcasecmp(chosen, "offscreen") != 0 && SDL_strcasecmp(chosen, "dummy") != 0) return true;
  if (!requested) return false;
  for (const char* p = requested; *p;) {
    const char* end = std::strchr(p, ',');
    size_t len = end ? size_t(end - p) : std::strlen(p);
    if (same_name(p, len, chosen)) return true;
    p += len + (end ? 1 : 0);
  }
  return false;
}

bool SdlDisplay::open(const std::string& title, int logical_w, int logical_h, std::string& error) {
  close();
  logical_w_ = logical_w;
  logical_h_ = logical_h;
  // Alt+Tab must not iconify the game, and the window manager's compositor
  // keeps out of the way of a full-screen window.
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "1");
  int init = 0;
  {
    QuietStderr quiet;   // the Wayland library complains aloud when it finds no session
    init = SDL_InitSubSystem(SDL_INIT_VIDEO);
  }
  if (init != 0) {
    error = std::string("cannot open a display (") + SDL_GetError() + ")";
    return false;
  }
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!video_driver_acceptable(driver, SDL_GetHint(SDL_HINT_VIDEODRIVER))) {
    error = std::string("cannot open a display (no X11 or Wayland desktop reachable; SDL offered only its "
                        "invisible \"") + (driver ? driver : "?") + "\" driver)";
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
  }
  choose_windowed_size();
  window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, windowed_w_,
                             windowed_h_, SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_RESIZABLE);
  if (window_) {
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_TARGETTEXTURE);
    if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
  }
  if (!window_ || !renderer_ || !make_textures()) {
    error = std::string("cannot open a display (") + SDL_GetError() + ")";
    close();
    return false;
  }
  SDL_RendererInfo info;
  gl_ = SDL_GetRendererInfo(renderer_, &info) == 0 && SDL_strncmp(info.name, "opengl", 6) == 0;
  want_fullscreen_ = true;
  set_icon(window_);
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  SDL_RenderPresent(renderer_);
  return true;
}

void SdlDisplay::close() {
  bool was_open = window_ != nullptr;
  drop_textures();
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) SDL_DestroyWindow(window_);
  renderer_ = nullptr;
  window_ = nullptr;
  vsync_ = -1;
  if (was_open) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void SdlDisplay::set_title(const std::string& title) {
  if (window_) SDL_SetWindowTitle(window_, title.c_str());
}

bool SdlDisplay::make_textures() {
  picture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, logical_w_,
                               logical_h_);
  if (!picture_) return false;
  SDL_SetTextureBlendMode(picture_, SDL_BLENDMODE_NONE);
  return true;
}

void SdlDisplay::drop_textures() {
  if (enlarged_) SDL_DestroyTexture(enlarged_);
  if (picture_) SDL_DestroyTexture(picture_);
  enlarged_ = picture_ = nullptr;
  enlarged_factor_ = 0;
}

// The enlargement target for `factor`, made on first use; null if the
// renderer cannot draw into textures (then the fit is smooth from 1x).
SDL_Texture* SdlDisplay::enlarged(int factor) {
  if (enlarged_factor_ == factor) return enlarged_;
  if (enlarged_) SDL_DestroyTexture(enlarged_);
  enlarged_ = nullptr;
  enlarged_factor_ = factor;
  if (!SDL_RenderTargetSupported(renderer_)) return nullptr;
  enlarged_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_TARGET,
                                logical_w_ * factor, logical_h_ * factor);
  if (enlarged_) {
    SDL_SetTextureBlendMode(enlarged_, SDL_BLENDMODE_NONE);
    SDL_SetTextureScaleMode(enlarged_, SDL_ScaleModeLinear);
  }
  return enlarged_;
}

void SdlDisplay::present(const uint32_t* pixels, bool vsync) {
  if (!renderer_) return;
  SDL_UpdateTexture(picture_, nullptr, pixels, logical_w_ * 4);
  int ow = 0, oh = 0;
  SDL_GetRendererOutputSize(renderer_, &ow, &oh);
  PictureRect r = fit_picture(ow, oh, logical_w_, logical_h_);
  ScalePlan plan = plan_scale(r, logical_w_, logical_h_);

  SDL_Texture* shown = picture_;
  bool smooth = plan.smooth_fit;
  if (plan.smooth_fit && plan.prescale > 1) {
    if (SDL_Texture* big = enlarged(plan.prescale)) {
      SDL_SetTextureScaleMode(picture_, SDL_ScaleModeNearest);
      SDL_SetRenderTarget(renderer_, big);
      SDL_RenderCopy(renderer_, picture_, nullptr, nullptr);
      SDL_SetRenderTarget(renderer_, nullptr);
      shown = big;
    }
  }
  if (shown == picture_) SDL_SetTextureScaleMode(picture_, smooth ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);

  // Clearing paints the whole output, bars included; the picture goes on top.
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  SDL_Rect dst{r.x, r.y, r.w, r.h};
  SDL_RenderCopy(renderer_, shown, nullptr, &dst);

  set_vsync(vsync);
  SDL_RenderPresent(renderer_);
}

// Waiting for the refresh is asked of OpenGL itself. SDL's own switch would,
// where the driver cannot wait, make presents sleep to imitate a display's
// rate; the pacing would then believe in a refresh that is not there and run
// at whatever rate SDL imitates. Where nothing truly waits, presents return
// at once and the pacing falls back to the clock, as it should.
void SdlDisplay::set_vsync(bool on) {
  int want = on ? 1 : 0;
  if (want == vsync_) return;
  vsync_ = want;
  if (!gl_ || !SDL_GL_GetCurrentContext()) return;
  SDL_RenderFlush(renderer_);   // what was drawn goes out under the old setting
  if (SDL_GL_SetSwapInterval(want) != 0 && want) SDL_GL_SetSwapInterval(0);
}

void SdlDisplay::show_pointer(bool visible) { SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE); }

PictureRect SdlDisplay::picture_in_window() const {
  int w = 0, h = 0;
  if (window_) SDL_GetWindowSize(window_, &w, &h);
  return fit_picture(w, h, logical_w_, logical_h_);
}

Point SdlDisplay::to_logical(int wx, int wy) const {
  return window_to_logical(picture_in_window(), logical_w_, logical_h_, wx, wy);
}

Point SdlDisplay::warp_pointer(int x, int y) {
  Point l{SDL_clamp(x, 0, logical_w_ - 1), SDL_clamp(y, 0, logical_h_ - 1)};
  if (!window_) return l;
  PictureRect r = picture_in_window();
  if (r.w <= 0 || r.h <= 0) return l;
  Point w = logical_to_window(r, logical_w_, logical_h_, l.x, l.y);
  SDL_WarpMouseInWindow(window_, w.x, w.y);
  return to_logical(w.x, w.y);
}

// A window size for leaving full screen: the largest whole multiple of the
// picture that fits the desktop's usable area, else three quarters of it.
void SdlDisplay::choose_windowed_size() {
  windowed_w_ = logical_w_;
  windowed_h_ = logical_h_;
  SDL_Rect area;
  if (SDL_GetDisplayUsableBounds(0, &area) != 0 || area.w <= 0 || area.h <= 0) return;
  const int margin = 64;   // the window manager's title bar and frame
  int k = SDL_min((area.w - margin) / logical_w_, (area.h - margin) / logical_h_);
  if (k >= 1) {
    windowed_w_ = logical_w_ * k;
    windowed_h_ = logical_h_ * k;
  } else {
    PictureRect r = fit_picture(area.w * 3 / 4, area.h * 3 / 4, logical_w_, logical_h_);
    windowed_w_ = SDL_max(r.w, 1);
    windowed_h_ = SDL_max(r.h, 1);
  }
}

void SdlDisplay::toggle_fullscreen() {
  if (!window_) return;
  want_fullscreen_ = !want_fullscreen_;
  if (want_fullscreen_) {
    SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
  } else {
    SDL_SetWindowFullscreen(window_, 0);
    SDL_SetWindowSize(window_, windowed_w_, windowed_h_);
    SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  }
}

void SdlDisplay::on_event(const SDL_Event& e) {
  if (!window_) return;
  if (e.type == SDL_RENDER_DEVICE_RESET) {
    // The renderer lost its textures; make them again.
    drop_textures();
    make_textures();
    return;
  }
  if (e.type != SDL_WINDOWEVENT || e.window.windowID != SDL_GetWindowID(window_)) return;
  switch (e.window.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      if (!want_fullscreen_ && !(SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN)) {
        windowed_w_ = e.window.data1;
        windowed_h_ = e.window.data2;
      }
      break;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_SHOWN:
      // Coming back from the task bar: a full-screen window stays full-screen.
      if (want_fullscreen_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) !=
                                  SDL_WINDOW_FULLSCREEN_DESKTOP)
        SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
      break;
    default:
      break;
  }
}

}  // namespace plat
