#include "support/RecordingDisplay.h"

#include <vector>

namespace grottix::test {

namespace {

// Hands every device call to the recorder; the back buffer stays black.
class TRecordingBackend : public TD3DBackend {
public:
    explicit TRecordingBackend(std::shared_ptr<TRecordingDevice> recorder) : recorder_(std::move(recorder)) {}

    bool SetRenderState(TD3DRenderStateType s, uint32_t v) override { return recorder_->SetRenderState(s, v); }
    uint32_t GetRenderState(TD3DRenderStateType s) const override { return recorder_->GetRenderState(s); }
    bool SetTextureStageState(uint32_t stage, TD3DTextureStageStateType t, uint32_t v) override {
        return recorder_->SetTextureStageState(stage, t, v);
    }
    uint32_t GetTextureStageState(uint32_t stage, TD3DTextureStageStateType t) const override {
        return recorder_->GetTextureStageState(stage, t);
    }
    bool SetTransform(TD3DTransformStateType t, const TD3DMatrix& m) override { return recorder_->SetTransform(t, m); }
    TD3DMatrix GetTransform(TD3DTransformStateType t) const override { return recorder_->GetTransform(t); }
    bool SetViewport(const TD3DViewport7& v) override { return recorder_->SetViewport(v); }
    TD3DViewport7 GetViewport() const override { return recorder_->GetViewport(); }
    bool SetMaterial(const TD3DMaterial7& m) override { return recorder_->SetMaterial(m); }
    TD3DMaterial7 GetMaterial() const override { return recorder_->GetMaterial(); }
    bool Clear(uint32_t n, const TD3DRect* r, uint32_t f, uint32_t c, float z, uint32_t s) override {
        return recorder_->Clear(n, r, f, c, z, s);
    }
    bool BeginScene() override { return recorder_->BeginScene(); }
    bool EndScene() override { return recorder_->EndScene(); }
    bool SetTexture(uint32_t stage, TDirectDrawSurface* t) override { return recorder_->SetTexture(stage, t); }
    TDirectDrawSurface* GetTexture(uint32_t stage) const override { return recorder_->GetTexture(stage); }
    bool DrawPrimitive(TD3DPrimitiveType t, uint32_t f, const void* v, uint32_t n, uint32_t flags) override {
        return recorder_->DrawPrimitive(t, f, v, n, flags);
    }
    void ResizeSurface(const TSurfaceDesc& surface) override { surfaceChanged(surface); }
    void Flush() override {}
    void ReadBackBuffer(uint32_t* pixels) override {
        std::fill_n(pixels, size_t(surface_.width) * size_t(surface_.height), 0xFF000000u);
    }

private:
    std::shared_ptr<TRecordingDevice> recorder_;
};

}  // namespace

TRecordingDXDraw::TRecordingDXDraw(int width, int height) : recorder_(std::make_shared<TRecordingDevice>()) {
    surface_.width = width;
    surface_.height = height;
    SetOptions({do3D, doDirectX7Mode, doZBuffer});
}

TRecordingDXDraw::~TRecordingDXDraw() { Finalize(); }

TSurfaceDesc TRecordingDXDraw::SurfaceFor(const TDXDrawOptions&) const { return surface_; }

std::unique_ptr<TD3DBackend> TRecordingDXDraw::CreateBackend(TDXDrawOptions&) {
    return std::make_unique<TRecordingBackend>(recorder_);
}

}  // namespace grottix::test
