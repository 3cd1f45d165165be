// The recorded frame through SDL2's software renderer onto a 640 x 480
// surface: each sprite frame an ARGB texture, colour and alpha mods for the
// tint, additive blending, SDL_RenderCopyEx for turned and scaled draws.
// Unturned scale-1 draws are given the integer rectangle that the drawing
// model covers, so they land where ours do; SDL places turned and scaled
// draws by its own rounding.
#include <SDL.h>

#include <map>

#include "replay.h"

namespace bench {

namespace {

struct Step {
  enum Kind { CLEAR, LINE, RECT, COPY, COPY_EX } kind = CLEAR;
  SDL_Texture* tex = nullptr;
  uint8_t r = 0, g = 0, b = 0, a = 255;
  SDL_BlendMode blend = SDL_BLENDMODE_NONE;
  SDL_Rect rect{};
  SDL_FRect frect{};
  SDL_FPoint centre{};
  double angle = 0;
};

class SdlReplay : public Replay {
 public:
  explicit SdlReplay(const DrawList& calls) {
    surface_ = SDL_CreateRGBSurfaceWithFormat(0, W, H, 32, SDL_PIXELFORMAT_RGB888);
    if (!surface_) throw Unsupported(std::string("SDL: no surface: ") + SDL_GetError());
    renderer_ = SDL_CreateSoftwareRenderer(surface_);
    if (!renderer_) throw Unsupported(std::string("SDL: no software renderer: ") + SDL_GetError());
    for (const gfx::DrawCall& c : calls) add(c);
  }
  ~SdlReplay() override {
    for (auto& kv : textures_) SDL_DestroyTexture(kv.second);
    SDL_DestroyRenderer(renderer_);
    SDL_FreeSurface(surface_);
  }

  void draw() override {
    for (const Step& s : steps_) {
      switch (s.kind) {
        case Step::CLEAR:
          SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
          SDL_RenderClear(renderer_);
          break;
        case Step::LINE:
          SDL_SetRenderDrawBlendMode(renderer_, s.blend);
          SDL_SetRenderDrawColor(renderer_, s.r, s.g, s.b, s.a);
          SDL_RenderDrawLine(renderer_, s.rect.x, s.rect.y, s.rect.x + s.rect.w - 1, s.rect.y);
          break;
        case Step::RECT:
          SDL_SetRenderDrawBlendMode(renderer_, s.blend);
          SDL_SetRenderDrawColor(renderer_, s.r, s.g, s.b, s.a);
          SDL_RenderFillRect(renderer_, &s.rect);
          break;
        case Step::COPY:
        case Step::COPY_EX:
          SDL_SetTextureBlendMode(s.tex, s.blend);
          SDL_SetTextureColorMod(s.tex, s.r, s.g, s.b);
          SDL_SetTextureAlphaMod(s.tex, s.a);
          if (s.kind == Step::COPY)
            SDL_RenderCopy(renderer_, s.tex, nullptr, &s.rect);
          else
            SDL_RenderCopyExF(renderer_, s.tex, nullptr, &s.frect, s.angle, &s.centre, SDL_FLIP_NONE);
          break;
      }
    }
    SDL_RenderFlush(renderer_);
  }

  Picture picture() override {
    Picture p(size_t(W) * H);
    SDL_LockSurface(surface_);
    for (int y = 0; y < H; ++y) {
      const uint32_t* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(surface_->pixels) +
                                                              size_t(y) * surface_->pitch);
      for (int x = 0; x < W; ++x) p[size_t(y) * W + x] = row[x] & 0xFFFFFFu;
    }
    SDL_UnlockSurface(surface_);
    return p;
  }

 private:
  SDL_Surface* surface_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  std::map<std::pair<const gfx::Image*, int>, SDL_Texture*> textures_;
  std::vector<Step> steps_;

  SDL_Texture* texture(const gfx::Image& img, int frame) {
    SDL_Texture*& t = textures_[{&img, frame}];
    if (t) return t;
    t = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, img.width, img.height);
    if (!t) throw Unsupported(std::string("SDL: no texture: ") + SDL_GetError());
    SDL_UpdateTexture(t, nullptr, img.frame_pixels(frame), img.width * 4);
    return t;
  }

  static SDL_BlendMode blend_of(int blend) {
    switch (blend) {
      case gfx::BLEND_SOLID: return SDL_BLENDMODE_NONE;
      case gfx::BLEND_ADD: return SDL_BLENDMODE_ADD;
      default: throw Unsupported("SDL: only solid and additive draws are replayed");
    }
  }

  static SDL_Rect rect_of(const Box& b) { return SDL_Rect{b.x0, b.y0, b.x1 - b.x0, b.y1 - b.y0}; }

  void add(const gfx::DrawCall& c) {
    Step s;
    s.r = uint8_t(c.r);
    s.g = uint8_t(c.g);
    s.b = uint8_t(c.b);
    s.a = uint8_t(alpha_byte(c));
    switch (c.kind) {
      case gfx::DRAW_CLEAR: s.kind = Step::CLEAR; break;
      case gfx::DRAW_LINE:
        s.kind = Step::LINE;
        s.blend = blend_of(c.blend);
        s.rect = rect_of(line_box(c));
        if (s.rect.w <= 0) return;
        break;
      case gfx::DRAW_RECT:
        if (!is_identity(c)) throw Unsupported("SDL: rectangles are replayed unturned only");
        s.kind = Step::RECT;
        s.blend = blend_of(c.blend);
        s.rect = rect_of(draw_box(c));
        break;
      case gfx::DRAW_IMAGE: {
        if (c.sx <= 0 || c.sy <= 0) throw Unsupported("SDL: mirrored draws are not replayed");
        s.tex = texture(*c.image, c.frame);
        s.blend = blend_of(c.blend);
        const double hx = c.image->handle_x, hy = c.image->handle_y;
        if (is_identity(c)) {
          s.kind = Step::COPY;
          int ox, oy;
          identity_offset(c, ox, oy);
          s.rect = SDL_Rect{-ox, -oy, c.image->width, c.image->height};
        } else {
          s.kind = Step::COPY_EX;
          s.frect = SDL_FRect{float(c.x - hx * c.sx), float(c.y - hy * c.sy), float(c.image->width * c.sx),
                              float(c.image->height * c.sy)};
          s.centre = SDL_FPoint{float(hx * c.sx), float(hy * c.sy)};
          s.angle = c.rotation;
        }
        break;
      }
      default: throw Unsupported("SDL: text entries and grabs are not replayed (record glyphs as images)");
    }
    steps_.push_back(s);
  }
};

}  // namespace

std::unique_ptr<Replay> sdl_replay(const DrawList& calls) { return std::make_unique<SdlReplay>(calls); }

}  // namespace bench
