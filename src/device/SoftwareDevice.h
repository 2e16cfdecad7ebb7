#pragma once
// TSoftwareDevice: the 3D device drawn by the CPU (hardware acceleration off, headless rendering,
// pixel tests). Draw calls are recorded with a snapshot of their state and drawn when the frame is
// needed (end of scene, reading the back buffer): vertex processing splits the primitives between
// the workers and sorts what it makes into bands of rows; then the workers take the bands one by
// one and draw each band's work in call order. The picture does not depend on the number of workers.

#include <atomic>
#include <memory>
#include <vector>

#include "device/DeviceState.h"
#include "device/raster/FrameBuffer.h"
#include "device/raster/RasterTypes.h"

namespace grottix {

namespace raster {
class TWorkerPool;
}

class TSoftwareDevice : public TD3DBackend {
public:
    // workers 0: one per hardware thread.
    explicit TSoftwareDevice(const TSurfaceDesc& surface, int workers = 0);
    ~TSoftwareDevice() override;

    bool Clear(uint32_t count, const TD3DRect* rects, uint32_t flags, uint32_t color, float z,
               uint32_t stencil) override;
    bool DrawPrimitive(TD3DPrimitiveType type, uint32_t vertexFormat, const void* vertices, uint32_t count,
                       uint32_t flags) override;

    void ResizeSurface(const TSurfaceDesc& surface) override;
    void Flush() override;
    void ReadBackBuffer(uint32_t* pixels) override;

    // The back buffer after Flush.
    const raster::TFrameBuffer& Frame() const { return frame_; }

protected:
    void StateChanged() override { stateDirty_ = true; }
    void SceneEnded() override { Flush(); }

private:
    struct TCommand {
        bool isClear;
        uint32_t state;
        TD3DPrimitiveType type;
        uint32_t firstVertex;
        uint32_t vertexCount;
        uint32_t primitiveCount;
        raster::TRasterClear clear;
    };

    uint32_t currentState();
    void processVertices(int worker, int workers, uint64_t primitiveTotal);
    void processCommand(const TCommand& command, uint32_t first, uint32_t last, raster::TRasterQueue& queue,
                        std::vector<raster::TClipVertex>& scratch);
    void binItems(raster::TRasterQueue& queue, size_t firstItem) const;
    void rasterizeBand(int band, int queueCount);

    raster::TFrameBuffer frame_;
    std::unique_ptr<raster::TWorkerPool> pool_;
    std::vector<raster::TDrawState> states_;
    bool stateDirty_ = true;
    std::vector<TD3DLVertex> vertices_;
    std::vector<TCommand> commands_;
    std::vector<raster::TRasterQueue> queues_;
    std::vector<std::vector<raster::TClipVertex>> scratch_;
    std::atomic<int> nextBand_{0};
};

}  // namespace grottix
