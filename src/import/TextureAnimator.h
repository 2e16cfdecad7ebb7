#pragma once
// Cycles the level's animated texture ranges: every face whose object texture lies in a range
// shows, step by step, the next texture of the range (about six steps a second, as in the games).
// The faces sit in polygons of their own, one per range and starting texture, so that a step only
// changes those polygons' texture and their vertices' texture coordinates.

#include <array>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace grottix {

class TD3DPolygon;
class TD3DScene;

class TTextureAnimator {
public:
    static constexpr double kStepsPerSecond = 6;

    // One texture of a range: its tile's texture name and the texel coordinates of its corners.
    struct TFrame {
        std::string name;
        std::array<std::array<float, 2>, 4> corners{};
    };

    // Returns the new range's index.
    int AddRange(std::vector<TFrame> frames);
    // A face of the range (starting at its phase-th texture) stored in a polygon from firstVertex
    // on, as the polygon keeps quadrangles (6 vertices) or triangles (3).
    void AddFace(int range, int phase, TD3DPolygon* polygon, int firstVertex, bool quadrangle);

    // Shows the step the clock (in seconds) has reached; the first call starts the cycle at its
    // first step, so that the first frame drawn always shows the level as stored.
    void Advance(TD3DScene& scene, double seconds);
    int Step() const { return step_; }
    // Whether Advance has started the cycle.
    bool Started() const { return start_ >= 0; }
    // How long after the clock reads `seconds` the next step is due: 0 before the first Advance,
    // infinity when there is nothing to animate.
    double SecondsToNextStep(double seconds) const;
    // The polygons whose faces the steps change.
    std::vector<TD3DPolygon*> Polygons() const;
    bool Empty() const { return groups_.empty(); }

private:
    struct TFace {
        int firstVertex;
        bool quadrangle;
    };
    struct TGroup {
        std::vector<std::pair<TD3DPolygon*, std::vector<TFace>>> polygons;
    };
    void show(TD3DScene& scene, int range, int phase, TGroup& group);

    std::vector<std::vector<TFrame>> ranges_;
    std::map<std::pair<int, int>, TGroup> groups_;  // by range and phase
    int step_ = 0;
    double start_ = -1;
};

}  // namespace grottix
