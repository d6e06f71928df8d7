# Puts the module and the page's scripts into the page template, as text of
# its script elements. A script may not hold "</script", which would end its
# element early.
foreach(part CORE PAGE_SCRIPT WORKER_SCRIPT)
  file(READ ${${part}} ${part}_TEXT)
  string(TOLOWER "${${part}_TEXT}" lowered)
  string(FIND "${lowered}" "</script" found)
  if(NOT found EQUAL -1)
    message(FATAL_ERROR "${${part}} holds </script and cannot be put into the page")
  endif()
endforeach()
file(READ ${TEMPLATE} page)
# Placeholders are replaced in an order that cannot meet a replaced text's own
# "@...@": the page's scripts first, the module last.
string(REPLACE "@VARISTELLAR_PAGE@" "${PAGE_SCRIPT_TEXT}" page "${page}")
string(REPLACE "@VARISTELLAR_WORKER@" "${WORKER_SCRIPT_TEXT}" page "${page}")
string(REPLACE "@VARISTELLAR_CORE@" "${CORE_TEXT}" page "${page}")
file(WRITE ${OUTPUT} "${page}")
