// A figure path in integer world coordinates.
#pragma once

#include <windows.h>

#include "ui/base/weak_callback.h"

namespace ui {

class IPen;
class IMatrix;

class IPath : public nbase::SupportWeakCallback {
 public:
  virtual IPath* Clone() = 0;
  virtual void Reset() = 0;
  // GDI+ FillMode values: 0 alternate, 1 winding.
  virtual void SetFillMode(int mode) = 0;
  virtual int GetFillMode() = 0;
  virtual void StartFigure() = 0;
  virtual void CloseFigure() = 0;
  virtual void AddLine(int x1, int y1, int x2, int y2) = 0;
  virtual void AddLines(const POINT* points, int count) = 0;
  virtual void AddBezier(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
  // A cardinal spline through the points.
  virtual void AddCurve(const POINT* points, int count) = 0;
  virtual void AddRect(const RECT& rect) = 0;
  virtual void AddRectCoords(int left, int top, int right, int bottom) = 0;
  virtual void AddEllipse(const RECT& rect) = 0;
  virtual void AddEllipseCoords(int left, int top, int right, int bottom) = 0;
  virtual void AddArc(int x, int y, int width, int height, float start_angle, float sweep_angle) = 0;
  virtual void AddPie(int x, int y, int width, int height, float start_angle, float sweep_angle) = 0;
  virtual void AddPolygon(const POINT* points, int count) = 0;
  // World bounds, widened by the pen when one is given.
  virtual RECT GetBounds(const IPen* pen) = 0;
  virtual bool IsContainsPoint(int x, int y) = 0;
  virtual bool IsStrokeContainsPoint(int x, int y, const IPen* pen) = 0;
  // Applies the matrix to the path; nothing for a null matrix.
  virtual void Transform(const IMatrix* matrix) = 0;
};

}  // namespace ui
