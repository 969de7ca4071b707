#include "storage/XmlElementIndex.h"

#include <algorithm>
#include <cstring>

void XmlElementIndex::Reserve(int count) {
  while (m_reserved < count) {
    // One step fills at most the page that receives the next record.
    const int page = m_reserved >> kPageBits;
    const int pageFirst = page << kPageBits;
    const int oldInPage = m_reserved - pageFirst;
    const int newInPage = std::min(count - pageFirst, kPageSize);
    if (page >= static_cast<int>(m_pages.size())) {
      if (page >= static_cast<int>(m_pages.capacity())) m_pages.reserve(page * 2 + 4);
      m_pages.resize(page + 1);
    }
    std::unique_ptr<XmlElementRecord[]> grown(new XmlElementRecord[newInPage]);
    if (oldInPage > 0) std::memcpy(grown.get(), m_pages[page].get(), sizeof(XmlElementRecord) * oldInPage);
    std::memset(grown.get() + oldInPage, 0, sizeof(XmlElementRecord) * (newInPage - oldInPage));
    m_pages[page] = std::move(grown);
    m_reserved = pageFirst + newInPage;
  }
}

void XmlElementIndex::Clear() {
  m_pages.clear();
  m_pages.shrink_to_fit();
  m_reserved = 0;
}
