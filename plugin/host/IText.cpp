#include "host/IText.h"

#include "shell/DateSuites.h"

namespace ATE {

namespace {

void Check(ATEErr code) {
  if (code != kNoError) Throw_ATE_Exception(code);
}

}  // namespace

IFont::IFont(const IFont& other) : fRef(other.fRef) { sFont->AddRef(fRef); }

IFont::~IFont() { sFont->Release(fRef); }

IApplicationPaint::IApplicationPaint(const IApplicationPaint& other) : fRef(other.fRef) {
  sApplicationPaint->AddRef(fRef);
}

IApplicationPaint::~IApplicationPaint() { sApplicationPaint->Release(fRef); }

ICharFeatures::ICharFeatures() { Check(sCharFeatures->Initialize(&fRef)); }

ICharFeatures::~ICharFeatures() { sCharFeatures->Release(fRef); }

void ICharFeatures::SetFont(IFont font) { Check(sCharFeatures->SetFont(fRef, font.GetRef())); }

void ICharFeatures::SetFontSize(float size) { Check(sCharFeatures->SetFontSize(fRef, size)); }

void ICharFeatures::SetTracking(long tracking) {
  Check(sCharFeatures->SetTracking(fRef, static_cast<int32_t>(tracking)));
}

void ICharFeatures::SetBaselineShift(float shift) { Check(sCharFeatures->SetBaselineShift(fRef, shift)); }

void ICharFeatures::SetFillColor(IApplicationPaint paint) {
  Check(sCharFeatures->SetFillColor(fRef, paint.GetRef()));
}

IParaFeatures::IParaFeatures() { Check(sParaFeatures->Initialize(&fRef)); }

IParaFeatures::~IParaFeatures() { sParaFeatures->Release(fRef); }

void IParaFeatures::SetJustification(ParagraphJustification justification) {
  Check(sParaFeatures->SetJustification(fRef, justification));
}

void IParaFeatures::SetFirstLineIndent(float indent) { Check(sParaFeatures->SetFirstLineIndent(fRef, indent)); }

void IParaFeatures::SetStartIndent(float indent) { Check(sParaFeatures->SetStartIndent(fRef, indent)); }

void IParaFeatures::SetLeadingType(LeadingType type) { Check(sParaFeatures->SetLeadingType(fRef, type)); }

ITextRange::~ITextRange() { sTextRange->Release(fRef); }

void ITextRange::Remove() { Check(sTextRange->Remove(fRef)); }

void ITextRange::InsertAfter(const char* text, long length, IFont font) {
  Check(sTextRange->InsertAfter(fRef, text, static_cast<int32_t>(length), font.GetRef()));
}

void ITextRange::SetLocalCharFeatures(const ICharFeatures& features) {
  Check(sTextRange->SetLocalCharFeatures(fRef, features.GetRef()));
}

void ITextRange::SetLocalParaFeatures(const IParaFeatures& features) {
  Check(sTextRange->SetLocalParaFeatures(fRef, features.GetRef()));
}

}  // namespace ATE
