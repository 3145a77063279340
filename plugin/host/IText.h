// Text-engine wrappers: a text range, character and paragraph feature sets, a font and a
// paint. Each holds one reference carrying one count and gives it back when destroyed (a
// null one included); setters throw ATE::Exception when the engine fails.
#pragma once

#include "host/IThrowException.h"
#include "hostapi/ATESuites.h"

namespace ATE {

class IFont {
 public:
  IFont() noexcept = default;
  explicit IFont(FontRef font) noexcept : fRef(font) {}
  // Shares the reference: one more count, taken through the ATE Font Suite.
  IFont(const IFont& other);
  IFont& operator=(const IFont&) = delete;
  virtual ~IFont();

  FontRef GetRef() const { return fRef; }

 private:
  FontRef fRef = nullptr;
};

class IApplicationPaint {
 public:
  explicit IApplicationPaint(ApplicationPaintRef paint) noexcept : fRef(paint) {}
  // Shares the reference: one more count, taken through the ATE ApplicationPaint Suite.
  IApplicationPaint(const IApplicationPaint& other);
  IApplicationPaint& operator=(const IApplicationPaint&) = delete;
  virtual ~IApplicationPaint();

  ApplicationPaintRef GetRef() const { return fRef; }

 private:
  ApplicationPaintRef fRef = nullptr;
};

class ICharFeatures {
 public:
  // An empty feature set.
  ICharFeatures();
  ICharFeatures(const ICharFeatures&) = delete;
  ICharFeatures& operator=(const ICharFeatures&) = delete;
  virtual ~ICharFeatures();

  void SetFont(IFont font);
  void SetFontSize(float size);
  void SetTracking(long tracking);
  void SetBaselineShift(float shift);
  void SetFillColor(IApplicationPaint paint);

  CharFeaturesRef GetRef() const { return fRef; }

 private:
  CharFeaturesRef fRef = nullptr;
};

class IParaFeatures {
 public:
  // An empty feature set.
  IParaFeatures();
  IParaFeatures(const IParaFeatures&) = delete;
  IParaFeatures& operator=(const IParaFeatures&) = delete;
  virtual ~IParaFeatures();

  void SetJustification(ParagraphJustification justification);
  void SetFirstLineIndent(float indent);
  void SetStartIndent(float indent);
  void SetLeadingType(LeadingType type);

  ParaFeaturesRef GetRef() const { return fRef; }

 private:
  ParaFeaturesRef fRef = nullptr;
};

class ITextRange {
 public:
  // Takes over the reference (no count added).
  explicit ITextRange(TextRangeRef range) noexcept : fRef(range) {}
  ITextRange(const ITextRange&) = delete;
  ITextRange& operator=(const ITextRange&) = delete;
  virtual ~ITextRange();

  void Remove();
  // length bytes of platform-encoded text (-1: up to the terminator), in font.
  void InsertAfter(const char* text, long length, IFont font);
  void SetLocalCharFeatures(const ICharFeatures& features);
  void SetLocalParaFeatures(const IParaFeatures& features);

  TextRangeRef GetRef() const { return fRef; }

 private:
  TextRangeRef fRef = nullptr;
};

}  // namespace ATE
