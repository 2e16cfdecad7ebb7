#pragma once
// THeadlessDXDraw: a drawing surface without a window, drawn by the CPU rasterizer (or only recorded,
// by a TRecordingDevice). Serves rendering from the command line and tests of code that draws on a
// display.

#include <vector>

#include "device/CustomDXDraw.h"

namespace grottix {

class TRecordingDevice;

class THeadlessDXDraw : public TCustomDXDraw {
public:
    enum class TDevice { Software, Recording };

    THeadlessDXDraw(int width, int height, int bitCount = 32, int workers = 0, TDevice device = TDevice::Software);
    ~THeadlessDXDraw() override;

    void SetSurfaceSize(int width, int height, int bitCount);
    int FlipCount() const { return flipCount_; }
    // The recording device while a recording display is initialised, else none.
    TRecordingDevice* Recorder() const;

protected:
    TSurfaceDesc SurfaceFor(const TDXDrawOptions& options) const override;
    std::unique_ptr<TD3DBackend> CreateBackend(TDXDrawOptions& options) override;
    void Present(TD3DBackend& backend) override;

private:
    TSurfaceDesc surface_;
    int workers_;
    TDevice device_;
    int flipCount_ = 0;
};

}  // namespace grottix
