#pragma once
// A display whose 3D device records every call instead of drawing, for tests of the drawing code.

#include <memory>

#include "device/CustomDXDraw.h"
#include "device/RecordingDevice.h"

namespace grottix::test {

class TRecordingDXDraw : public TCustomDXDraw {
public:
    explicit TRecordingDXDraw(int width = 64, int height = 48);
    ~TRecordingDXDraw() override;

    // The calls made through D3DDevice7() since the last ClearCalls.
    TRecordingDevice& Recorder() { return *recorder_; }

protected:
    TSurfaceDesc SurfaceFor(const TDXDrawOptions& options) const override;
    std::unique_ptr<TD3DBackend> CreateBackend(TDXDrawOptions& options) override;
    void Present(const uint32_t*, int, int) override {}

private:
    TSurfaceDesc surface_;
    std::shared_ptr<TRecordingDevice> recorder_;
};

}  // namespace grottix::test
