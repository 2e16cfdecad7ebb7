#pragma once
// TGrottixViewerScene: the viewer's scene, which draws the sky after the level; and the opening of
// a level into it, shared by the window and the command line.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/Scene.h"
#include "import/LevelImport.h"
#include "import/RoomVolumes.h"
#include "level/FlipMaps.h"
#include "level/LevelGoTo.h"
#include "viewer/DeviceSetup.h"
#include "viewer/ItemAnimator.h"
#include "viewer/Measurement.h"
#include "viewer/PlacementMarkers.h"

namespace grottix {

class TGrottixViewerScene : public TD3DScene {
public:
    using TD3DScene::TD3DScene;

    // Steps the level's animated textures and poses its items to the level's clock; draws the level's own sky (when it
    // has one and LevelSkyShown) centred on the eye over the generated sky, the level, then the
    // generated sky fixed in the world (when SkyTexture exists and the level's own is not drawn),
    // with the eye in a water room the underwater tint, the marks of lights, cameras and sound
    // sources, the outline of the selection and the measurement. Seen from above (RoomsHidden not
    // empty), every room visible is drawn: the portals are not followed.
    void RenderObjects() override;
    // Forgets the sky texture and the level's animators and items too: resetting frees them.
    void Reset() override;
    // Shows or hides every item of the level.
    void SetItemsVisible(bool visible);
    // Shows or hides Lara at the player's start (View > Show Lara), her untextured faces too; kept
    // for the levels opened after.
    void SetLaraVisible(bool visible);
    bool LaraVisible() const { return laraVisible_; }

    // Per room, whether the room belongs to what is shown (the flip state); empty shows every room.
    // Each frame draws the rooms shown (CellsDrawn starts from this list).
    std::vector<uint8_t> RoomsShown;

    // Per room, 1 for the rooms Top View hides (those above the room it looks down on); empty hides
    // none. RoomsVisible: RoomsShown without them, what each frame draws and picking sees.
    std::vector<uint8_t> RoomsHidden;
    std::vector<uint8_t> RoomsVisible() const;
    // How the view projects; the device's projection is set from it (SetFixedDeviceState), and
    // picking follows it.
    TViewProjection Projection;
    // Sets Projection and the device's projection to match.
    void SetProjection(const TViewProjection& projection);

    int LevelVersionCode = 0;  // of the level opened, 0 when none is
    // The level's flip maps and the state shown; SetFlipState sets RoomsShown to match.
    TFlipMaps Flips;
    TFlipState FlipState;
    void SetFlipState(TFlipState state);

    // Where each room stands and which hold water; the tint of the view from inside one.
    std::vector<TRoomVolume> RoomVolumes;
    uint32_t UnderwaterTint = 0x00FFFFFF;
    // Level units per scene unit of the level opened.
    float LevelScale = 128;
    // The room shown whose open space holds the eye (RoomHoldingPoint), -1 when none does. The status
    // bar, portal culling, the sector map, the water tint and --stats all ask this.
    int EyeRoom() const;
    bool EyeUnderWater() const;

    // The level's own sky (hidden objects drawn around the eye before the level), and whether it
    // is drawn instead of the generated sky.
    std::vector<TD3DObject*> LevelSky;
    bool LevelSkyShown = true;
    bool DrawsLevelSky() const { return LevelSkyShown && !LevelSky.empty(); }

    TDirect3DTexture2* SkyTexture = nullptr;
    std::vector<TD3DLVertex> SkyVertices;
    // Left by the last level opened.
    std::unique_ptr<TTextureAnimator> TextureAnimator;
    std::unique_ptr<TItemAnimator> ItemAnimator;
    // Whether the items play their animations (View > Animate Items); when not, they stand in the
    // pose the level shows before anything moves.
    void SetItemsAnimated(bool animated);
    bool ItemsAnimated() const { return itemsAnimated_; }
    // Whether the next frame shows an item moving: items play and one stands in a room drawn.
    bool ItemsMoveInView() const;

    // Seconds of the level's clock: 0 at the first frame drawn of the level, or the time it was
    // fixed at (--render --time).
    double LevelTime();
    void FixLevelTime(double seconds) { fixedTime_ = seconds; }
    int32_t ItemsID = 0;
    int32_t PlayerID = 0;  // Lara's objects
    int ItemCount = 0;
    // The level on screen as read, and the box around each of its drawn items (entity index ->
    // box); both left by the last level opened.
    std::shared_ptr<const TTombRaiderLevel> Level;
    std::map<int, TSceneBox> ItemBounds;
    // The space the entity's drawing takes, in level units (for go to to frame it); none when
    // nothing was drawn of it.
    std::optional<TItemExtent> ItemExtent(int entity) const;
    // The box outlined over the frame (what is selected), none when nothing is.
    std::optional<TSceneBox> Outlined;
    // Per room, translucent triangles drawn over the room's floor (trigger squares, the selected
    // square); drawn for the rooms drawn.
    std::vector<std::vector<TD3DLVertex>> Overlay;
    // Marks at the lights, cameras and sound sources the window shows, a light's reach.
    TPlacementMarks Marks;
    // The measurement on screen (Tools > Measure), drawn over everything.
    std::optional<TMeasure> Measure;

private:
    std::optional<double> fixedTime_;
    double clockStart_ = -1;  // scene time of the level's first frame, -1 before it
    bool itemsAnimated_ = true;
    bool laraVisible_ = true;
    // The last answer of EyeRoom and the eye and flip state it was for.
    mutable TD3DVector eyeRoomAt_{};
    mutable std::vector<uint8_t> eyeRoomShown_;
    mutable int eyeRoom_ = -2;
};

// The floor plane added after every load: 20000 x 20000 at y = -1000, double-sided, grey.
TD3DQuadrangleInfo MakeFloorRecord();

// What opening a level does to the scene: reset, eye to the origin, import, hide unnamed objects,
// register the sky picture as "SKY" (black colour key), add the floor. The scene takes the import's
// texture animator and items. Returns the load result; a damaged level (kLevelDamaged) is opened as
// far as it could be read, its untextured faces shown. A file that cannot be read as a level (any
// other result, or an error raised while reading it) leaves the scene as it was.
uint8_t OpenLevelIntoScene(TGrottixViewerScene& scene, const std::string& path, float scale, float gamma,
                           const TBitmap& skyPicture, const TD3DQuadrangleInfo& floor, TImportReport* report = nullptr);

}  // namespace grottix
