#include "device/SoftwareDevice.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "device/raster/DrawState.h"
#include "device/raster/Rasterize.h"
#include "device/raster/VertexProcessing.h"
#include "device/raster/WorkerPool.h"

namespace grottix {

using namespace raster;

namespace {

// Below this many primitives a frame is drawn on the calling thread alone (a few large triangles
// are still worth sharing, so the bar is low).
constexpr uint64_t kParallelThreshold = 2;
// Queued vertices beyond this are drawn before more are accepted.
constexpr size_t kMaxQueuedVertices = size_t{1} << 22;

}  // namespace

TSoftwareDevice::TSoftwareDevice(const TSurfaceDesc& surface, int workers)
    : TD3DBackend(surface.zBuffer), pool_(std::make_unique<TWorkerPool>(workers)) {
    ResizeSurface(surface);
}

TSoftwareDevice::~TSoftwareDevice() = default;

void TSoftwareDevice::ResizeSurface(const TSurfaceDesc& surface) {
    commands_.clear();
    vertices_.clear();
    states_.clear();
    frame_.Resize(surface.width, surface.height, surface.bitCount, surface.zBuffer);
    surfaceChanged(surface);
    stateDirty_ = true;
}

uint32_t TSoftwareDevice::currentState() {
    if (TextureChanged()) stateDirty_ = true;
    if (stateDirty_ || states_.empty()) {
        states_.push_back(BuildDrawState(state_, surface_));
        stateDirty_ = false;
    }
    return uint32_t(states_.size() - 1);
}

bool TSoftwareDevice::Clear(uint32_t count, const TD3DRect* rects, uint32_t flags, uint32_t color, float z,
                            uint32_t /*stencil: there is no stencil buffer*/) {
    if (flags & ~(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) return false;
    if (count > 0 && !rects) return false;
    const TD3DViewport7& vp = state_.viewport;
    const TD3DRect viewport{int32_t(vp.dwX), int32_t(vp.dwY), int32_t(vp.dwX + vp.dwWidth), int32_t(vp.dwY + vp.dwHeight)};
    const float depth = std::isfinite(z) ? z : 1.0f;
    for (uint32_t i = 0; i < std::max<uint32_t>(count, 1); ++i) {
        const TD3DRect r = count ? rects[i] : viewport;
        TCommand command{};
        command.isClear = true;
        command.clear = TRasterClear{std::max(r.x1, viewport.x1), std::max(r.y1, viewport.y1), std::min(r.x2, viewport.x2),
                                     std::min(r.y2, viewport.y2), flags, color, depth};
        if (command.clear.left < command.clear.right && command.clear.top < command.clear.bottom)
            commands_.push_back(command);
    }
    return true;
}

bool TSoftwareDevice::DrawPrimitive(TD3DPrimitiveType type, uint32_t vertexFormat, const void* vertices,
                                    uint32_t count, uint32_t /*flags*/) {
    if (vertexFormat != D3DFVF_LVERTEX || !vertices || type < D3DPT_POINTLIST || type > D3DPT_TRIANGLEFAN) return false;
    const uint32_t primitives = PrimitiveCount(type, count);
    if (primitives == 0) return true;
    if (vertices_.size() + count > kMaxQueuedVertices) Flush();
    TCommand command{};
    command.state = currentState();
    command.type = type;
    command.firstVertex = uint32_t(vertices_.size());
    command.vertexCount = count;
    command.primitiveCount = primitives;
    const auto* first = static_cast<const TD3DLVertex*>(vertices);
    vertices_.insert(vertices_.end(), first, first + count);
    commands_.push_back(command);
    return true;
}

void TSoftwareDevice::Flush() {
    if (commands_.empty()) return;
    uint64_t primitiveTotal = 0;
    for (const TCommand& command : commands_) primitiveTotal += command.primitiveCount;
    const bool clears = std::any_of(commands_.begin(), commands_.end(), [](const TCommand& c) { return c.isClear; });
    const int workers = primitiveTotal >= kParallelThreshold || clears ? pool_->Count() : 1;
    queues_.resize(size_t(workers));
    scratch_.resize(size_t(workers));
    auto vertexJob = [&](int worker) { processVertices(worker, workers, primitiveTotal); };
    const int bandCount = (surface_.height + TRowBand::kRows - 1) / TRowBand::kRows;
    nextBand_ = 0;
    auto rasterJob = [&](int) {
        for (int band = nextBand_++; band < bandCount; band = nextBand_++) rasterizeBand(band, workers);
    };
    if (workers == 1) {
        vertexJob(0);
        rasterJob(0);
    } else {
        pool_->Run(vertexJob);
        pool_->Run(rasterJob);
    }
    commands_.clear();
    vertices_.clear();
    states_.clear();
    stateDirty_ = true;
}

// Worker w handles the primitives [total * w / n, total * (w + 1) / n) of the frame, and each clear
// goes to the last worker whose share starts at or before it, so the queues concatenated in worker
// order keep the order the calls were made in.
void TSoftwareDevice::processVertices(int worker, int workers, uint64_t primitiveTotal) {
    TRasterQueue& queue = queues_[size_t(worker)];
    queue.clear(size_t((surface_.height + TRowBand::kRows - 1) / TRowBand::kRows));
    const uint64_t begin = primitiveTotal * uint64_t(worker) / uint64_t(workers);
    const uint64_t end = primitiveTotal * uint64_t(worker + 1) / uint64_t(workers);
    const uint64_t nextBegin = worker + 1 < workers ? end : UINT64_MAX;
    uint64_t position = 0;
    for (const TCommand& command : commands_) {
        if (command.isClear) {
            if (position >= begin && position < nextBegin) {
                queue.items.push_back({TItemKind::Clear, uint32_t(queue.clears.size())});
                queue.clears.push_back(command.clear);
                binItems(queue, queue.items.size() - 1);
            }
            continue;
        }
        const uint64_t from = std::max(position, begin), to = std::min(position + command.primitiveCount, end);
        if (from < to) {
            const size_t firstItem = queue.items.size();
            processCommand(command, uint32_t(from - position), uint32_t(to - position), queue, scratch_[size_t(worker)]);
            binItems(queue, firstItem);
        }
        position += command.primitiveCount;
    }
}

void TSoftwareDevice::processCommand(const TCommand& command, uint32_t first, uint32_t last, TRasterQueue& queue,
                                     std::vector<TClipVertex>& scratch) {
    uint32_t firstVertex, endVertex;
    PrimitiveVertexRange(command.type, first, last, &firstVertex, &endVertex);
    endVertex = std::min(endVertex, command.vertexCount);
    scratch.resize(endVertex - firstVertex);
    const TDrawState& state = states_[command.state];
    TransformVertices(state.vertex, vertices_.data() + command.firstVertex + firstVertex, scratch.size(), scratch.data());
    TPrimitiveAssembler assembler(state, command.state, queue);
    assembler.Assemble(command.type, scratch.data(), firstVertex, first, last);
}

// Files every item from firstItem on under each band of rows it may touch.
void TSoftwareDevice::binItems(TRasterQueue& queue, size_t firstItem) const {
    const int lastBand = int(queue.bands.size()) - 1;
    auto bandOf = [lastBand](double row) {  // rows above the surface (or NaN) fall in the first band
        return row >= 0 ? int(std::min(row / TRowBand::kRows, double(lastBand))) : 0;
    };
    for (size_t i = firstItem; i < queue.items.size(); ++i) {
        const TRasterItem& item = queue.items[i];
        double top = 0, bottom = 0;  // rows, inclusive
        switch (item.kind) {
            case TItemKind::Triangle: {
                const TRasterTriangle& t = queue.triangles[item.index];
                top = std::ceil(t.y[0]);
                bottom = std::ceil(t.y[2]) - 1;
                break;
            }
            case TItemKind::Line: {
                const TRasterLine& l = queue.lines[item.index];
                top = std::floor(std::min(l.a.y, l.b.y)) - 1;
                bottom = std::ceil(std::max(l.a.y, l.b.y)) + 1;
                break;
            }
            case TItemKind::Point: top = bottom = std::floor(queue.points[item.index].v.y + 0.5f); break;
            case TItemKind::Clear: {
                const TRasterClear& c = queue.clears[item.index];
                top = c.top;
                bottom = c.bottom - 1;
                break;
            }
        }
        if (bottom < top) continue;
        for (int band = bandOf(top); band <= bandOf(bottom); ++band) queue.bands[size_t(band)].push_back(uint32_t(i));
    }
}

void TSoftwareDevice::rasterizeBand(int bandIndex, int queueCount) {
    const TRowBand band{bandIndex * TRowBand::kRows, std::min((bandIndex + 1) * TRowBand::kRows, surface_.height)};
    for (int q = 0; q < queueCount; ++q) {
        const TRasterQueue& queue = queues_[size_t(q)];
        for (uint32_t itemIndex : queue.bands[size_t(bandIndex)]) {
            const TRasterItem& item = queue.items[itemIndex];
            switch (item.kind) {
                case TItemKind::Triangle: {
                    const TRasterTriangle& t = queue.triangles[item.index];
                    RasterizeTriangle(t, states_[t.state], frame_, band);
                    break;
                }
                case TItemKind::Line: {
                    const TRasterLine& l = queue.lines[item.index];
                    RasterizeLine(l, states_[l.state], frame_, band);
                    break;
                }
                case TItemKind::Point: {
                    const TRasterPoint& p = queue.points[item.index];
                    RasterizePoint(p, states_[p.state], frame_, band);
                    break;
                }
                case TItemKind::Clear: frame_.Clear(queue.clears[item.index], band); break;
            }
        }
    }
}

void TSoftwareDevice::ReadBackBuffer(uint32_t* pixels) {
    Flush();
    frame_.CopyTo(pixels);
}

}  // namespace grottix
