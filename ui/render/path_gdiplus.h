// GDI+ implementation of IPath.
#pragma once

#include "ui/render/gdiplus_handles.h"
#include "ui/render/path.h"

namespace ui {

class Path_Gdiplus : public IPath {
 public:
  // An empty path with fill mode alternate.
  Path_Gdiplus();
  ~Path_Gdiplus() override = default;

  IPath* Clone() override;
  void Reset() override;
  void SetFillMode(int mode) override;
  int GetFillMode() override;
  void StartFigure() override;
  void CloseFigure() override;
  void AddLine(int x1, int y1, int x2, int y2) override;
  void AddLines(const POINT* points, int count) override;
  void AddBezier(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void AddCurve(const POINT* points, int count) override;
  void AddRect(const RECT& rect) override;
  void AddRectCoords(int left, int top, int right, int bottom) override;
  void AddEllipse(const RECT& rect) override;
  void AddEllipseCoords(int left, int top, int right, int bottom) override;
  void AddArc(int x, int y, int width, int height, float start_angle, float sweep_angle) override;
  void AddPie(int x, int y, int width, int height, float start_angle, float sweep_angle) override;
  void AddPolygon(const POINT* points, int count) override;
  RECT GetBounds(const IPen* pen) override;
  bool IsContainsPoint(int x, int y) override;
  bool IsStrokeContainsPoint(int x, int y, const IPen* pen) override;
  void Transform(const IMatrix* matrix) override;

  Gdiplus::GpPath* GetPath() const { return path_.get(); }
  // The GDI+ path of any path of this back end; null for a null path.
  static Gdiplus::GpPath* GpPathOf(const IPath* path) {
    return path ? static_cast<const Path_Gdiplus*>(path)->GetPath() : nullptr;
  }

 private:
  explicit Path_Gdiplus(GpPathPtr path) : path_(std::move(path)) {}
  void Keep(GpStatus status) { KeepFailure(status_, status); }

  GpPathPtr path_;
  GpStatus status_ = Gdiplus::Ok;
};

}  // namespace ui
