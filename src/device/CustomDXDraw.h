#pragma once
// TCustomDXDraw: a drawing surface without any window system. It owns the back buffer and the 3D
// device for the options in effect, fires the initialise/finalise events and presents frames; the
// Qt widget (TDXDraw) and the headless display (THeadlessDXDraw) decide only where the pixels go.

#include <functional>
#include <initializer_list>
#include <memory>

#include "codecs/Bitmap.h"
#include "device/DeviceState.h"
#include "storage/Exceptions.h"

namespace grottix {

// The display could not be created for the options asked for.
class EDXDrawError : public EGrottixError {
public:
    using EGrottixError::EGrottixError;
};

// Options of a drawing surface, bit order from 0.
enum TDXDrawOption {
    doFullScreen, doNoWindowChange, doAllowReboot, doWaitVBlank, doAllowPalette256, doSystemMemory,
    doStretch, doCenter, doFlip, do3D, doDirectX7Mode, doRetainedMode, doHardware, doSelectDriver,
    doZBuffer,
};

class TDXDrawOptions {
public:
    constexpr TDXDrawOptions() = default;
    constexpr TDXDrawOptions(std::initializer_list<TDXDrawOption> options) {
        for (TDXDrawOption option : options) bits_ |= bit(option);
    }
    static constexpr TDXDrawOptions FromBits(uint32_t bits) {
        TDXDrawOptions options;
        options.bits_ = bits & ((1u << (doZBuffer + 1)) - 1);
        return options;
    }
    constexpr uint32_t Bits() const { return bits_; }
    constexpr bool Contains(TDXDrawOption option) const { return bits_ & bit(option); }
    constexpr void Include(TDXDrawOption option) { bits_ |= bit(option); }
    constexpr void Exclude(TDXDrawOption option) { bits_ &= ~bit(option); }
    constexpr bool operator==(const TDXDrawOptions&) const = default;

private:
    static constexpr uint32_t bit(TDXDrawOption option) { return 1u << option; }
    uint32_t bits_ = 0;
};

class TCustomDXDraw;
using TDXDrawNotifyEvent = std::function<void(TCustomDXDraw& sender)>;

class TCustomDXDraw {
public:
    // The largest back buffer side accepted.
    static constexpr int kMaxSurfaceSide = 8192;

    TCustomDXDraw();
    // Subclasses Release() in their destructors; destruction fires no events.
    virtual ~TCustomDXDraw();
    TCustomDXDraw(const TCustomDXDraw&) = delete;
    TCustomDXDraw& operator=(const TCustomDXDraw&) = delete;

    // Options take effect at the next Initialize; NowOptions are those in effect.
    TDXDrawOptions Options() const { return options_; }
    void SetOptions(TDXDrawOptions options) { options_ = options; }
    TDXDrawOptions NowOptions() const { return nowOptions_; }

    TDXDrawNotifyEvent OnInitialize;
    TDXDrawNotifyEvent OnInitializeSurface;
    TDXDrawNotifyEvent OnFinalize;

    // Creates back buffer and device for the current options (finalising first when initialised),
    // then fires OnInitialize and OnInitializeSurface. Failures raise EDXDrawError.
    void Initialize();
    // Fires OnFinalize and releases device and back buffer.
    void Finalize();
    bool Initialized() const { return backend_ != nullptr; }
    // True when initialised and the device can draw; a lost device makes it false until the next
    // Initialize builds a new one.
    virtual bool CanDraw() const;
    // Finishes the frame and presents the back buffer; the pixels stay on the device (read back only
    // by BackBufferBitmap). With an area, only that part of the back buffer changed since the last frame.
    void Flip(const TD3DRect* area = nullptr);

    int SurfaceWidth() const;
    int SurfaceHeight() const;
    int SurfaceBitCount() const;
    bool HasZBuffer() const;
    // The 3D device, or none when the display is not initialised or was created without do3D.
    TD3DDevice* D3DDevice7() const;

    // A copy of the back buffer at its size: 32 bits per pixel, or 16 (5:6:5) for a 16-bit surface.
    TBitmap BackBufferBitmap();

protected:
    // Size and depth of the back buffer for these options.
    virtual TSurfaceDesc SurfaceFor(const TDXDrawOptions& options) const = 0;
    // May take out of options what it could not provide (doHardware when falling back to the CPU).
    virtual std::unique_ptr<TD3DBackend> CreateBackend(TDXDrawOptions& options) = 0;
    // Shows the finished frame of the device (drawing is complete when it is called).
    virtual void Present(TD3DBackend& backend) = 0;
    // Shows a frame that changed only in an area of the back buffer.
    virtual void PresentArea(TD3DBackend& backend, const TD3DRect& /*area*/) { Present(backend); }
    // Hooks around the display's life (e.g. the full-screen window).
    virtual void DisplayStarted() {}
    virtual void DisplayStopped() {}

    // Recreates the back buffer at a new size and fires OnInitializeSurface.
    void ResizeSurface(const TSurfaceDesc& surface);
    // Releases device and back buffer without firing OnFinalize: for destructors, whose owner
    // (the handler of the events) may be gone already.
    void Release();
    TD3DBackend* Backend() const { return backend_.get(); }

private:
    static void checkSurface(const TSurfaceDesc& surface);

    TDXDrawOptions options_;
    TDXDrawOptions nowOptions_;
    std::unique_ptr<TD3DBackend> backend_;
};

}  // namespace grottix
