#include "display/browser_backend.h"

#include "display/keys.h"
#include "display/repainted.h"

#include <wasm_simd128.h>

#include <algorithm>
#include <vector>

// The page's side, in browser_backend.js. The functions marked as waiting
// return only after the browser has run its own tasks in between.
extern "C" {
void qv_browser_open();
void qv_browser_close();
void qv_browser_set_mode(uint32_t width, uint32_t height);
// Shows the frame's XRGB pixels (pitch in pixels) as they are; false where
// the page cannot, and wants them as RGBA bytes through qv_browser_show_rgba.
bool qv_browser_show_frame(const uint32_t* pixels, uint32_t width, uint32_t height, uint32_t pitch);
void qv_browser_show_rgba(const uint32_t* rgba, uint32_t width, uint32_t height);
// Waits for the next animation frame.
void qv_browser_wait_frame();
// Waits up to timeoutMs (-1: without limit) for a key to be pressed or released.
void qv_browser_wait_input(int timeoutMs);
// Takes the oldest key event not yet taken: its DOM code name into code
// and its flags (kReleased... below, the layout's letter in bits 8-15) as
// the result, or -1 when there is none.
int qv_browser_next_key(char* code, int codeSize);
// Shows the page's dialog and waits for its OK.
void qv_browser_message_box(const char* text, const char* caption);
}

namespace qv::display {
namespace {

constexpr int kReleased = 1, kRepeat = 2, kAlt = 4, kCtrl = 8;

class BrowserBackend : public Backend {
public:
    bool Open(HWND window, std::string&) override {
        window_ = window;
        qv_browser_open();
        return true;
    }

    bool SetMode(uint32_t width, uint32_t height, uint32_t, std::string&) override {
        qv_browser_set_mode(width, height);
        return true;
    }

    void Close() override {
        window_ = nullptr;
        qv_browser_close();
    }

    void Present(const Frame& frame, bool waitForRefresh) override {
        if (frame.pixels && frame.pitch >= frame.width &&
            !qv_browser_show_frame(frame.pixels, frame.width, frame.height, frame.pitch)) {
            ToCanvasPixels(frame);
            qv_browser_show_rgba(rgba_.data(), frame.width, frame.height);
        }
        if (waitForRefresh) qv_browser_wait_frame();
    }

    bool PumpInput(int timeoutMs) override {
        if (!TakeKeys() && timeoutMs != 0) {
            qv_browser_wait_input(timeoutMs);
            TakeKeys();
        }
        return true;  // a page can always be typed on
    }

    void ShowMessageBox(const char* text, const char* caption, UINT) override { qv_browser_message_box(text, caption); }

    void WindowShown(HWND, bool) override {}

    void WindowDestroyed(HWND window) override {
        if (window == window_) window_ = nullptr;
    }

private:
    // A canvas without WebGL2 holds bytes R, G, B, A; the frame holds XRGB
    // words (bytes B, G, R, X): four pixels at a time, red and blue swapped
    // and the alpha made opaque. Where the frame says which of its pixels
    // may not be black, only those it or the frame before may have painted
    // are converted: the others hold opaque black already.
    void ToCanvasPixels(const Frame& frame) {
        const std::size_t size = std::size_t{frame.width} * frame.height;
        const pipeline::DrawnArea changed =
            Repainted(frame, rgba_.size() != size || rgbaWidth_ != frame.width, converted_);
        rgba_.resize(size);
        rgbaWidth_ = frame.width;
        const v128_t opaque = wasm_i32x4_splat(int32_t(0xFF000000u));
        const int32_t rows = std::min(changed.Bottom(), int32_t(frame.height));
        for (int32_t y = std::max(changed.Top(), 0); y < rows; ++y) {
            const uint32_t* row = frame.pixels + std::size_t(y) * frame.pitch;
            uint32_t* out = rgba_.data() + std::size_t(y) * frame.width;
            uint32_t x = uint32_t(std::max(changed.Left(y), 0));
            const uint32_t end = uint32_t(std::min(changed.Right(y), int32_t(frame.width)));
            for (; x + 4 <= end; x += 4) {
                const v128_t p = wasm_v128_load(row + x);
                const v128_t swapped = wasm_i8x16_shuffle(p, p, 2, 1, 0, 3, 6, 5, 4, 7, 10, 9, 8, 11, 14, 13, 12, 15);
                wasm_v128_store(out + x, wasm_v128_or(swapped, opaque));
            }
            for (; x < end; ++x) {
                const uint32_t p = row[x];
                out[x] = 0xFF000000u | (p & 0xFFu) << 16 | (p & 0xFF00u) | (p >> 16 & 0xFFu);
            }
        }
    }

    // Posts the key events waiting on the page to the window that holds the
    // display, as the window with the focus; false when there were none.
    bool TakeKeys() {
        bool any = false;
        char code[32];
        for (int flags; (flags = qv_browser_next_key(code, sizeof code)) >= 0;) {
            any = true;
            const std::optional<KeyCode> key = KeyCodeForDomCode(code, char(flags >> 8 & 0xFF));
            if (!key) continue;
            const KeyMessage message = MessageForKey(
                {*key, (flags & kReleased) != 0, (flags & kRepeat) != 0, (flags & kAlt) != 0, (flags & kCtrl) != 0});
            if (window_) Input().Post(window_, message.message, message.wParam, message.lParam);
        }
        return any;
    }

    std::vector<uint32_t> rgba_;
    uint32_t rgbaWidth_ = 0;
    pipeline::DrawnArea converted_;  // where the frame last converted may not be black
    HWND window_ = nullptr;
};

}  // namespace

std::unique_ptr<Backend> MakeBrowserBackend(std::string&) { return std::make_unique<BrowserBackend>(); }

}  // namespace qv::display
