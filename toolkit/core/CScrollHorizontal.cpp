#include "toolkit/core/CScrollHorizontal.h"

#include "toolkit/core/PaintManager.h"

unsigned CScrollHorizontal::ImageResource() const { return m_manager ? m_manager->GetScrollHID() : 101; }
