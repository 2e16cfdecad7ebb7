#pragma once
// TD3DScene: the engine's root object. It owns every scene object, light, action and data item, the
// texture registry and the stream cache (shared by a whole scene tree), the eye, and the frame
// drawing. A scene is itself an object, so scenes nest as child scenes.

#include <functional>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "engine/CellVisibility.h"
#include "engine/D3DObject.h"
#include "engine/SceneItems.h"

namespace grottix {

class TD3DPolygon;
class TD3DStubObject;
class TTombRaiderLevel;
class TWad;
struct TTexelImage;

// A (name, item) pair of a scene list.
template <typename T>
struct TNamedItem {
    std::string Name;
    std::unique_ptr<T> Item;
};
template <typename T>
using TNamedList = std::vector<TNamedItem<T>>;

// The lists a whole scene tree shares; the top-level scene creates and frees them.
struct TSharedSceneLists {
    TNamedList<TDirect3DTexture2> Textures;
    TNamedList<TStream> Streams;
    std::vector<std::string> SearchPaths;
};

// Any item of a scene's lists.
using TSceneItemRef = std::variant<TD3DObject*, TCustomData*, TD3DAction*, TD3DSceneLight*>;

// Change marks of a scene.
constexpr uint8_t ChangedPosition = 1;
constexpr uint8_t ChangedRotation = 2;
constexpr uint8_t ChangedLights = 4;

// The view matrix Rz(roll) * Ry(-yaw) * P(pitch) with m44 replaced by the near distance.
TD3DMatrix ViewRotationMatrix(TD3DVector angles, float nearDistance);

class TD3DScene : public TD3DObject {
public:
    TD3DScene(TCustomDXDraw* display, bool isChild = false);
    // A child scene placed by info, reading its world file when it names one.
    TD3DScene(const TD3DSceneInfo& info, TD3DScene* parent);
    ~TD3DScene() override;

    // ---- as an object ----
    void CalcBounds() override;
    void InitObject() override {}
    void SetHidden(bool hidden) override;
    void SetSafeMode(bool safeMode) override;
    bool HitsObject(TD3DObject& other) override;
    bool HitsSphere(TD3DVector center, float radius) override;
    uint8_t GetKind() const override { return kKindScene; }
    int32_t GetID() const override { return Info.ID; }
    void DoRender() override;
    void Translate(TD3DVector v) override;
    void Rotate(TD3DVector angles) override;
    void GetTextureNames(std::vector<std::string>& names) const override;
    float CalcDistance(TD3DVector eye) override;
    std::string GetName() const override { return Info.FileName; }
    TInfoRecord GetRecord() const override { return Info; }
    void GetOrigin(TD3DVector& out, float offset) override;
    void ApplyLight(const TD3DSceneLight& light) override;
    int32_t GetVertexCount() const override;
    int32_t GetTriangleCount() const override;

    // ---- objects ----
    virtual TD3DObject* AddObject(uint8_t kind, TInfoRecordRef info);
    // Merges into a polygon (true) or adds a new object (false).
    virtual bool AddOrMergeObject(uint8_t kind, TInfoRecordRef info);
    virtual void DeleteObject(int index);
    virtual TD3DObject* ReplaceObject(int index, uint8_t kind, TInfoRecordRef info);
    virtual TD3DPolygon* AddEmptyPolygon(std::string name, bool planar, int32_t cullMode, bool colorKeyed);
    virtual void AddLevelPolygon(const std::vector<std::string>& names, bool planar, int32_t cullMode, bool colorKeyed);
    virtual void SplitPolygon(int index, bool deleteSplit, bool markPosition);
    virtual void SplitAllPolygons();
    virtual void DeleteEmptyPolygons();
    virtual void DeleteUnstoredObjects();

    // ---- lights, actions, data items ----
    virtual void AddLight(const TD3DSceneLightInfo& info);
    virtual void DeleteLight(int index);
    virtual void ReplaceLight(int index, const TD3DSceneLightInfo& info);
    virtual void AddAction(const TD3DActionInfo& info);
    virtual void DeleteAction(int index);
    virtual void ReplaceAction(int index, const TD3DActionInfo& info);
    virtual void DeleteActionsOf(int32_t id);
    virtual void DeleteFinishedActions();
    virtual void AddData(const TCustomDataInfo& info);
    virtual void DeleteData(int index);
    virtual void ReplaceData(int index, const TCustomDataInfo& info);

    // ---- clearing and sub-lists ----
    virtual void Clear();
    virtual void ClearObjects();
    virtual void Reset();
    virtual void ClearSubLists();
    virtual void RebuildSubLists();
    virtual bool RegisterSubObject(const std::string& name, TD3DObject* object);
    virtual void UpdateMaxID();

    // ---- moving, finding, counting ----
    virtual void TranslateObjects(TD3DVector v);
    virtual void RotateObjects(TD3DVector angles);
    void TranslateObjectsXYZ(float x, float y, float z);
    void RotateObjectsXYZ(float a, float b, float c);
    void MoveItems(int kind, int32_t id, float x, float y, float z);
    void TurnItems(int kind, int32_t id, float ax, float ay, float az);
    void TurnItemsAbout(int kind, int32_t id, float ax, float ay, float az, float px, float py, float pz);
    int GetObjectsOfID(int32_t id, std::vector<TD3DObject*>& list);
    // Objects, data items, actions and lights of a kind (-1: any) with an ID.
    int GetItemsOf(int kind, int32_t id, std::vector<TSceneItemRef>& list);
    int CountItems(int kind) const;
    void ShowItems(int kind, int32_t id);
    void HideItems(int kind, int32_t id);

    // ---- clock and messages ----
    double GetTime() const;
    void PauseClock();
    void ResumeClock();
    // Lets the window paint during long loads; does nothing without a window.
    virtual void ProcessMessages();
    void DoProgress() { ProcessMessages(); }
    bool IsDrawing() const;
    static double TickSeconds();

    // ---- textures and data streams ----
    TDirect3DTexture2* FindTexture(std::string& name, bool keepBlack = true);
    TDirect3DTexture2* GetTexture(const std::string& name, bool keepBlack = true);
    TTextureSet FindTextures(TTextureNames& names, bool keepBlack = true);
    TDirect3DTexture2* AddTextureFromBitmap(const std::string& name, const TBitmap& bitmap);
    // AddTextureFromBitmap for a picture already converted to device texels: registered as they are
    // when FitBitmap would leave them (a square of 2 ... 1024), else through a bitmap.
    TDirect3DTexture2* AddTextureFromTexels(const std::string& name, std::shared_ptr<const TTexelImage> texels);
    bool LoadTextureImage(TBitmap& picture, const std::string& name);
    void FitBitmap(TBitmap& bitmap, bool redraw) const;
    // Registers a loaded level's tiles as textures named after the level: every tile without a
    // list, else the listed tile numbers (as text). Returns how many were registered.
    int RegisterLevelTiles(const TTombRaiderLevel& level, const std::vector<std::string>* entries = nullptr);
    void PreloadLevelTextures(const std::vector<std::string>& names, bool keepBlack = true);
    bool LoadLevelTextures(const std::string& levelFile, const std::vector<std::string>& names);
    bool LoadLevelTexture(const std::string& levelFile, const std::string& name);
    std::unique_ptr<TBitmap> LoadLevelBitmap(const std::string& levelFile, const std::string& name);
    std::unique_ptr<TBitmap> LoadLevelBitmapPath(const std::string& path);
    TDirect3DTexture2* LoadTextureFromLibrary(const std::string& module, const std::string& resource);
    std::unique_ptr<TBitmap> LoadBitmapFromLibrary(const std::string& module, const std::string& resource);
    std::unique_ptr<TBitmap> LoadBitmapFromLibraryPath(const std::string& path);
    std::unique_ptr<TBitmap> GetTextureBitmap(const std::string& name);
    TStream* OpenDataStream(std::string& name);
    std::string ExpandFilePath(const std::string& name) const;
    std::string ExpandWadEntryName(const std::string& name) const;
    static std::string ExpandResourceName(const std::string& name);

    // ---- eye ----
    void SetCameraPosition(TD3DVector position);
    void MoveCamera(TD3DVector position);
    // Puts the eye at position at once (no speed is measured from the jump), wherever it stood
    // before: unlike the two above, it also goes back to the previous position.
    void JumpCamera(TD3DVector position);
    void SetCameraRotation(TD3DVector angles);
    void SetCameraRotationNow(TD3DVector angles) { SetCameraRotation(angles); }
    TD3DVector GetCameraPosition() const;
    TD3DVector GetCameraRotation() const;
    TD3DVector GetWorldTranslation() const;
    TD3DVector GetWorldRotation() const;
    void SetCameraToObject(TD3DObject& object, float offset);
    float DistanceTo(TD3DVector point) const;
    float DistanceToXYZ(float x, float y, float z) const { return DistanceTo({x, y, z}); }

    // ---- frames ----
    virtual void RenderScene(TColor background);
    virtual void Update();
    void Refresh();
    void InvalidateAll() { Changes = ChangedPosition | ChangedRotation | ChangedLights; }
    bool IsChanged() const { return Changes != 0; }
    virtual void SetupViewRotation();
    virtual void SetupViewTranslation();
    virtual void CalcDistances();
    void SortByDistance() { CalcDistances(); }
    virtual void SortByID();
    virtual void SortByName();
    virtual void SetObjectTimes();
    virtual void UpdateStubs();
    void ApplyAllLights();
    virtual void RenderObjects();
    virtual void RenderChildren1();
    virtual void RenderChildren2();
    void SetNearDistance(float distance);
    virtual void PrepareScene();
    void RenderPass(bool drawing);

    // ---- world files ----
    // The world stream: signature, version, texture names, objects, data items, actions, lights.
    // Writing settles the frame counts of stubs and polygons to the frames they use.
    void SaveToStream(TStream& stream) const override;
    // Replaces the scene with the world read from the stream (its own version decides the layout).
    void LoadFromStream(TStream& stream, int32_t version) override;
    // Adds the world read from the stream; textures are kept, the other items replaced.
    void AddFromStream(TStream& stream);
    // Reads and adds every item; each object is turned by rotation and then moved by translation.
    // A damaged world raises EWorldFileError; what was read until then stays in the scene.
    void ReadWorld(TStream& stream, TD3DVector rotation, TD3DVector translation);
    // The layout without signature (version 0).
    void ReadOldWorld(TStream& stream, TD3DVector rotation, TD3DVector translation);
    void WriteWorldHeader(TStream& stream);
    void WriteTextureList(TStream& stream);
    void WriteObjects(TStream& stream);
    // Writes beside the file and renames over it, after copying an existing file to ".~D3D".
    void SaveToFile(const std::string& name);
    void LoadFromFile(const std::string& name);
    void ImportFromFile(const std::string& name, TD3DVector rotation, TD3DVector translation);
    // This platform has no program resources: raises EWorldFileError for every name.
    void LoadFromResource(const std::string& name);
    // Loads a world file, a "->" WAD "::" entry, or an entry of the WAD the current world came
    // from; false when the file is missing.
    bool OpenWorld(const std::string& name);
    void LoadFromWad(const std::string& file, const std::string& entry);
    // A WAD held inside another stream, length bytes from start.
    void LoadFromWadStream(TStream& stream, int64_t start, const std::string& entry, int64_t length);
    void ImportFromWad(const std::string& file, const std::string& entry, TD3DVector rotation, TD3DVector translation);
    // The files a world depends on: texture and data files, and the worlds of child scenes.
    void CollectFiles(std::vector<std::string>& files);
    void CollectChildFiles(std::vector<std::string>& files);
    // Writes the world (entry name made "C:\name.D3D") and the files (collected when none are
    // given) into a new WAD beside file, renamed over it; an existing file is copied to ".~WAD".
    void SaveToWad(const std::string& file, const std::string& entry, const std::vector<std::string>* files, bool progress);
    // The same, adding the files first and keeping the entries the WAD already holds.
    void SaveToWadFilesFirst(const std::string& file, const std::string& entry, const std::vector<std::string>* files,
                             bool progress);
    // Stores a new quality mode (0-6) and rebuilds every texture for it.
    void SetTextureQuality(uint8_t mode);
    // Writes the world to memory and reads it back.
    void ReloadTextures();
    // Renames a registered texture everywhere in the world.
    void RenameTexture(const std::string& oldName, const std::string& newName);
    void RenameTextureAt(int index, const std::string& newName);

    // ---- fields ----
    bool FixTextureSizes = true;
    double PausedTime = 0;
    bool Paused = false;
    double PauseStart = 0;
    bool Modified = false;
    uint8_t Changes = 0;
    uint8_t TextureQuality = 0;
    double StartTime = 0;
    double LastUpdate = 0;
    std::string FileName;
    bool IsChild = false;
    bool Drawing = false;
    TD3DScene* Parent = nullptr;
    float NearDistance = 0.05f;
    double FrameInterval = 0.01;
    bool LoadingFromWad = false;
    bool LoadingFromResource = false;
    TWad* Wad = nullptr;
    TD3DSceneInfo Info;

    TD3DVector EyePosition, PreviousEyePosition, EyeRotation, PreviousEyeRotation;
    double LastFrameTime = -0.001;
    double EyeSpeed = 0;
    double FramesPerSecond = 0;
    bool InScene = false;

    TNamedList<TD3DObject> Objects;
    TNamedList<TCustomData> DataItems;
    TNamedList<TD3DAction> Actions;
    std::vector<std::unique_ptr<TD3DSceneLight>> Lights;
    std::vector<std::pair<std::string, TD3DScene*>> ChildScenes;
    std::vector<std::pair<std::string, TD3DStubObject*>> Stubs;
    std::shared_ptr<TSharedSceneLists> Shared;

    // The cell that objects added or merged now belong to (-1: none). Faces merge only into polygons
    // of their own cell; a cell's objects are added together.
    int32_t CurrentCell = -1;
    // Per cell, whether RenderObjects draws its objects (0: skipped). Objects of no cell, and of cells
    // past the end of the list, are drawn; an empty list draws everything.
    std::vector<uint8_t> CellsDrawn;
    bool CellDrawn(int32_t cell) const { return cell < 0 || size_t(cell) >= CellsDrawn.size() || CellsDrawn[size_t(cell)]; }
    // The cells' boxes and portals. With CullCells, ChooseCellsDrawn keeps only the cells the eye sees.
    TCellVisibility Visibility;
    bool CullCells = true;
    // How many cells the last ChooseCellsDrawn left to draw.
    size_t CellsDrawnCount = 0;
    // Sets CellsDrawn for this frame's eye from the cells shown (empty: all). eyeCell: the cell the
    // eye stands in when the caller knows it (-1: none, every cell shown is drawn); else the
    // boxes tell.
    void ChooseCellsDrawn(const std::vector<uint8_t>& shown, std::optional<int32_t> eyeCell = std::nullopt);
    // Notes, from the objects of every cell, where they lie in or on the boxes of other cells (after
    // the cells' boxes are set and the objects added).
    void FindCellContacts();

    // Set by the window so that long loads let it paint.
    std::function<void()> OnProcessMessages;
    // Child worlds read in the current load of a top-level scene: bounds what a world can nest.
    int32_t ChildWorldsRead = 0;

protected:
    // Creates the object of a kind from its record (kinds 2, 3, 4, 7), or none.
    std::unique_ptr<TD3DObject> createObject(uint8_t kind, TInfoRecordRef info);
    static std::string keyNameOf(const TD3DObject& object);

private:
    void construct(TCustomDXDraw* display, bool isChild);
    // TextKeyIgnoringCase of the name merged last: a level's faces come in runs of one texture.
    uint64_t mergeKeyOf(const std::string& name);
    TD3DPolygon* lastMergeTarget(uint64_t key);
    void rememberMergeTarget(uint64_t key, size_t index, TD3DPolygon* polygon);
    template <typename Visit>
    void forEachMatching(int kind, int32_t id, Visit visit);
    // The clock starts again after a whole world was loaded.
    void restartClock();
    // Reads the world a child scene names, from the parent's source.
    void readChildWorld();
    // Runs read on the entry of an open WAD, with LoadingFromWad set and Wad pointing at the WAD.
    void readFromWad(TWad& wad, const std::string& entry, const std::function<void(TStream&)>& read);
    void saveWorldToWad(const std::string& file, const std::string& entry, const std::vector<std::string>* files,
                        bool progress, bool filesFirst);

    std::string mergeKeyName_;
    uint64_t mergeKey_ = TextKeyIgnoringCase(std::string());
    struct TMergeTarget {
        uint64_t key;
        size_t index;  // in Objects
        TD3DPolygon* polygon;
    };
    std::vector<TMergeTarget> mergeTargets_;
    size_t mergeTargetsCount_ = 0;  // Objects' size while mergeTargets_ holds
};

}  // namespace grottix
