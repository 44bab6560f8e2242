#include "tools/ssmtool/SSMDescription.h"

#include <array>
#include <cmath>
#include <map>
#include <vector>

#include "base/StringUtil.h"
#include "platform/Locale.h"

namespace {

struct V3 {
  double x = 0, y = 0, z = 0;
};
V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 operator*(V3 a, double k) { return {a.x * k, a.y * k, a.z * k}; }
double Dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 Cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double Length(V3 a) { return std::sqrt(Dot(a, a)); }

class Builder {
 public:
  explicit Builder(SSMObject* m) : m_(m) {}

  bool Statement(const std::vector<std::string>& w, std::string* why);
  bool Finish(std::string* why);

 private:
  bool Numbers(const std::vector<std::string>& w, size_t from, size_t count, std::vector<double>* out,
               std::string* why);
  int Vertex(V3 p);
  void Face(const std::array<int, 3>& corners, V3 inside, V3 normalHint);
  void Quad(int a, int b, int c, int d, V3 inside);
  bool NeedGroup(std::string* why);
  void Box(V3 lo, V3 hi);
  void Prism(V3 lo, V3 hi, bool alongX);
  void Marker(const std::string& name, V3 o, V3 d);
  int ResourceFor(const std::string& texture);

  SSMObject* m_;
  std::vector<V3> base_;
  std::vector<int> vertexGroup_;  // owning group of each vertex
  int group_ = -1;
  struct Frame {
    std::string name;
    std::map<int, V3> offsets;  // group -> offset
    // group -> turn by an angle (degrees; 90 takes +x to -z) about
    // the vertical line through (x, z); applied before the offset.
    struct Turn {
      double degrees = 0, x = 0, z = 0;
    };
    std::map<int, Turn> turns;
  };
  std::vector<Frame> frames_;
  std::vector<std::pair<std::string, float>> pendingKeys_;
  std::vector<std::vector<std::pair<std::string, float>>> keys_;
};

bool Builder::Numbers(const std::vector<std::string>& w, size_t from, size_t count, std::vector<double>* out,
                      std::string* why) {
  if (w.size() < from + count) {
    *why = "'" + w[0] + "' needs " + std::to_string(count) + " numbers";
    return false;
  }
  out->clear();
  for (size_t i = from; i < from + count; ++i) {
    double v;
    if (!platform::TryParseDouble(w[i], &v) || !std::isfinite(v)) {
      *why = "'" + w[i] + "' is not a number";
      return false;
    }
    out->push_back(v);
  }
  return true;
}

int Builder::Vertex(V3 p) {
  base_.push_back(p);
  vertexGroup_.push_back(group_);
  return static_cast<int>(base_.size()) - 1;
}

// Texture coordinates project the corner onto the face's plane.
void Builder::Face(const std::array<int, 3>& corners, V3 inside, V3 normalHint) {
  std::array<int, 3> c = corners;
  const V3 a = base_[size_t(c[0])], b = base_[size_t(c[1])], d = base_[size_t(c[2])];
  V3 n = Cross(b - a, d - a);
  const V3 centre = (a + b + d) * (1.0 / 3.0);
  const V3 out = Length(normalHint) > 0 ? normalHint : centre - inside;
  if (Dot(n, out) < 0) {
    std::swap(c[1], c[2]);
    n = n * -1.0;
  }
  SSMFace face;
  const double ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
  for (int k = 0; k < 3; ++k) {
    const V3 p = base_[size_t(c[size_t(k)])];
    face.vertex[k] = static_cast<int16_t>(c[size_t(k)]);
    double u, v;
    if (ax >= ay && ax >= az) {
      u = p.z;
      v = -p.y;
    } else if (ay >= az) {
      u = p.x;
      v = p.z;
    } else {
      u = p.x;
      v = -p.y;
    }
    face.uv[k][0] = static_cast<float>(u);
    face.uv[k][1] = static_cast<float>(v);
  }
  face.group = static_cast<int16_t>(group_);
  m_->faces.push_back(face);
}

void Builder::Quad(int a, int b, int c, int d, V3 inside) {
  Face({a, b, c}, inside, {});
  Face({a, c, d}, inside, {});
}

bool Builder::NeedGroup(std::string* why) {
  if (group_ >= 0) return true;
  *why = "a shape or skin before any group";
  return false;
}

void Builder::Box(V3 lo, V3 hi) {
  int v[8];
  for (int i = 0; i < 8; ++i) v[i] = Vertex({(i & 1) ? hi.x : lo.x, (i & 2) ? hi.y : lo.y, (i & 4) ? hi.z : lo.z});
  const V3 centre = (lo + hi) * 0.5;
  Quad(v[0], v[1], v[3], v[2], centre);  // z = lo
  Quad(v[4], v[6], v[7], v[5], centre);  // z = hi
  Quad(v[0], v[4], v[5], v[1], centre);  // y = lo
  Quad(v[2], v[3], v[7], v[6], centre);  // y = hi
  Quad(v[0], v[2], v[6], v[4], centre);  // x = lo
  Quad(v[1], v[5], v[7], v[3], centre);  // x = hi
}

void Builder::Prism(V3 lo, V3 hi, bool alongX) {
  const int b0 = Vertex({lo.x, lo.y, lo.z}), b1 = Vertex({hi.x, lo.y, lo.z});
  const int b2 = Vertex({hi.x, lo.y, hi.z}), b3 = Vertex({lo.x, lo.y, hi.z});
  int r0, r1;
  if (alongX) {
    r0 = Vertex({lo.x, hi.y, (lo.z + hi.z) / 2});
    r1 = Vertex({hi.x, hi.y, (lo.z + hi.z) / 2});
  } else {
    r0 = Vertex({(lo.x + hi.x) / 2, hi.y, lo.z});
    r1 = Vertex({(lo.x + hi.x) / 2, hi.y, hi.z});
  }
  const V3 inside = {(lo.x + hi.x) / 2, lo.y + (hi.y - lo.y) / 3, (lo.z + hi.z) / 2};
  Quad(b0, b1, b2, b3, inside);
  if (alongX) {
    Quad(b0, b1, r1, r0, inside);
    Quad(b3, b2, r1, r0, inside);
    Face({b0, b3, r0}, inside, {});
    Face({b1, b2, r1}, inside, {});
  } else {
    Quad(b0, b3, r1, r0, inside);
    Quad(b1, b2, r1, r0, inside);
    Face({b0, b1, r0}, inside, {});
    Face({b3, b2, r1}, inside, {});
  }
}

// Two triangles on the shared edge origin -> origin + d. The first one's
// apex lies beside the origin, so the origin is the nearer shared vertex;
// its winding makes the first triangle's normal the anchor's up direction.
void Builder::Marker(const std::string& name, V3 o, V3 d) {
  auto g = std::make_unique<SSMGroup>();
  g->name = name;
  g->flags = SSMGroup::kAnchorMarker;
  const int saved = group_;
  group_ = static_cast<int>(m_->groups.size());
  m_->groups.push_back(std::move(g));
  const double len = Length(d);
  const V3 axis = d * (1.0 / len);
  V3 up = V3{0, 1, 0} - axis * axis.y;
  if (Length(up) < 1e-6) up = V3{1, 0, 0} - axis * axis.x;
  up = up * (1.0 / Length(up));
  const V3 side = Cross(up, axis);
  const int near = Vertex(o), far = Vertex(o + d);
  const int apex = Vertex(o + side * (0.25 * len) + axis * (0.1 * len));
  const int other = Vertex(o + d * 0.5 - side * (0.25 * len));
  // The anchor's normal is (a2 - a0) x (a1 - a2) of the first triangle.
  std::array<int, 3> t0 = {apex, far, near};
  const V3 n = Cross(base_[size_t(t0[2])] - base_[size_t(t0[0])], base_[size_t(t0[1])] - base_[size_t(t0[2])]);
  if (Dot(n, up) < 0) std::swap(t0[1], t0[2]);
  SSMFace f0, f1;
  for (int k = 0; k < 3; ++k) f0.vertex[k] = static_cast<int16_t>(t0[size_t(k)]);
  f1.vertex[0] = static_cast<int16_t>(near);
  f1.vertex[1] = static_cast<int16_t>(far);
  f1.vertex[2] = static_cast<int16_t>(other);
  f0.group = f1.group = static_cast<int16_t>(group_);
  m_->faces.push_back(f0);
  m_->faces.push_back(f1);
  group_ = saved;
}

int Builder::ResourceFor(const std::string& texture) {
  for (size_t i = 0; i < m_->resources.size(); ++i)
    if (m_->resources[i]->name == texture) return static_cast<int>(i);
  auto r = std::make_unique<SSMResource>();
  r->name = texture;
  m_->resources.push_back(std::move(r));
  return static_cast<int>(m_->resources.size()) - 1;
}

bool Builder::Statement(const std::vector<std::string>& w, std::string* why) {
  const std::string& op = w[0];
  std::vector<double> n;
  auto words = [&](size_t count) {
    if (w.size() >= count) return true;
    *why = "'" + op + "' needs " + std::to_string(count - 1) + " words";
    return false;
  };
  if (op == "option" || op == "tag") {
    if (!words(3)) return false;
    auto t = std::make_unique<SSMTag>();
    t->key = w[1];
    t->value = w[2];
    if (op == "option") {
      m_->tags.push_back(std::move(t));
    } else {
      if (!NeedGroup(why)) return false;
      m_->groups[size_t(group_)]->tags.push_back(std::move(t));
    }
    return true;
  }
  if (op == "group") {
    if (!words(2)) return false;
    for (const auto& g : m_->groups)
      if (g->name == w[1]) {
        *why = "group '" + w[1] + "' given twice";
        return false;
      }
    auto g = std::make_unique<SSMGroup>();
    g->name = w[1];
    g->flags = (w.size() > 2 && w[2] == "hidden") ? 0u : SSMGroup::kVisible;
    group_ = static_cast<int>(m_->groups.size());
    m_->groups.push_back(std::move(g));
    return true;
  }
  if (op == "skin") {
    if (!words(2) || !NeedGroup(why)) return false;
    auto s = std::make_unique<SSMSkin>();
    s->name = w[1];
    s->resource = static_cast<uint16_t>(ResourceFor(w[1]));
    m_->groups[size_t(group_)]->skins.push_back(std::move(s));
    return true;
  }
  if (op == "box" || op == "prism") {
    if (!NeedGroup(why) || !Numbers(w, 1, 6, &n, why)) return false;
    const V3 lo{std::min(n[0], n[3]), std::min(n[1], n[4]), std::min(n[2], n[5])};
    const V3 hi{std::max(n[0], n[3]), std::max(n[1], n[4]), std::max(n[2], n[5])};
    if (lo.x == hi.x || lo.y == hi.y || lo.z == hi.z) {
      *why = "a flat " + op;
      return false;
    }
    if (op == "box") {
      Box(lo, hi);
    } else {
      if (w.size() >= 8 && w[7] != "x" && w[7] != "z") {
        *why = "prism ridge runs along x or z";
        return false;
      }
      Prism(lo, hi, w.size() < 8 || w[7] == "x");
    }
    return true;
  }
  if (op == "marker") {
    if (!words(8) || !Numbers(w, 2, 6, &n, why)) return false;
    const V3 d{n[3], n[4], n[5]};
    if (Length(d) == 0) {
      *why = "marker axis of zero length";
      return false;
    }
    Marker(w[1], {n[0], n[1], n[2]}, d);
    return true;
  }
  if (op == "frame") {
    if (!words(2)) return false;
    frames_.push_back({w[1], {}, {}});
    return true;
  }
  if (op == "offset" || op == "turn") {
    if (!words(5) || !Numbers(w, 2, 3, &n, why)) return false;
    if (frames_.empty()) {
      *why = op + " before any frame";
      return false;
    }
    for (size_t g = 0; g < m_->groups.size(); ++g)
      if (m_->groups[g]->name == w[1]) {
        if (op == "offset") {
          frames_.back().offsets[static_cast<int>(g)] = {n[0], n[1], n[2]};
        } else {
          frames_.back().turns[static_cast<int>(g)] = {n[0], n[1], n[2]};
        }
        return true;
      }
    *why = "no group '" + w[1] + "'";
    return false;
  }
  if (op == "anim") {
    if (!words(2)) return false;
    auto a = std::make_unique<SSMAnim>();
    a->name = w[1];
    for (size_t i = 2; i < w.size(); ++i) {
      if (w[i] == "play") {
        a->flags |= 1u;
      } else if (w[i] != "loop") {
        *why = "unknown animation option '" + w[i] + "'";
        return false;
      }
    }
    m_->anims.push_back(std::move(a));
    keys_.emplace_back();
    return true;
  }
  if (op == "key") {
    if (!words(3) || !Numbers(w, 2, 1, &n, why)) return false;
    if (keys_.empty()) {
      *why = "key before any anim";
      return false;
    }
    if (n[0] <= 0) {
      *why = "key duration must be above 0";
      return false;
    }
    keys_.back().emplace_back(w[1], static_cast<float>(n[0]));
    return true;
  }
  *why = "unknown statement '" + op + "'";
  return false;
}

bool Builder::Finish(std::string* why) {
  if (base_.size() > 32767) {
    *why = "more than 32767 vertices";
    return false;
  }
  if (frames_.empty()) frames_.push_back({"base", {}, {}});
  m_->vertexCount = static_cast<int32_t>(base_.size());
  for (const Frame& f : frames_) {
    auto frame = std::make_unique<SSMFrame>();
    frame->name = f.name;
    for (size_t v = 0; v < base_.size(); ++v) {
      V3 p = base_[v];
      auto turn = f.turns.find(vertexGroup_[v]);
      if (turn != f.turns.end()) {
        const double a = turn->second.degrees * 3.14159265358979323846 / 180.0;
        const double dx = p.x - turn->second.x, dz = p.z - turn->second.z;
        p.x = turn->second.x + dx * std::cos(a) + dz * std::sin(a);
        p.z = turn->second.z - dx * std::sin(a) + dz * std::cos(a);
      }
      auto it = f.offsets.find(vertexGroup_[v]);
      if (it != f.offsets.end()) p = p + it->second;
      frame->vertices.push_back({static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z)});
    }
    m_->frames.push_back(std::move(frame));
  }
  for (size_t a = 0; a < m_->anims.size(); ++a) {
    SSMAnim& anim = *m_->anims[a];
    if (keys_[a].empty()) {
      *why = "animation '" + anim.name + "' has no keys";
      return false;
    }
    for (const auto& [frameName, seconds] : keys_[a]) {
      size_t f = 0;
      while (f < frames_.size() && frames_[f].name != frameName) ++f;
      if (f == frames_.size()) {
        *why = "animation '" + anim.name + "' names no frame '" + frameName + "'";
        return false;
      }
      anim.keyFrames.push_back(static_cast<uint16_t>(f));
      anim.keyDurations.push_back(seconds);
      anim.duration += seconds;
    }
    anim.keyCount = static_cast<int16_t>(anim.keyFrames.size());
  }
  m_->faceCount = static_cast<int32_t>(m_->faces.size());
  return SSMValidate(*m_, why);
}

}  // namespace

bool BuildSSMFromDescription(const std::string& text, SSMObject* model, std::string* error) {
  model->Clear();
  Builder builder(model);
  int lineNumber = 0;
  for (const std::string& rawLine : str::Split(text, "\n")) {
    ++lineNumber;
    std::string line = rawLine.substr(0, rawLine.find('#'));
    std::vector<std::string> words;
    for (const std::string& w : str::Split(line, " \t\r"))
      if (!w.empty()) words.push_back(w);
    if (words.empty()) continue;
    std::string why;
    if (!builder.Statement(words, &why)) {
      *error = "line " + std::to_string(lineNumber) + ": " + why;
      model->Clear();
      return false;
    }
  }
  std::string why;
  if (!builder.Finish(&why)) {
    *error = why;
    model->Clear();
    return false;
  }
  return true;
}
