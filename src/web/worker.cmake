# Writes the page's service worker (SITE/sw.js from IN) with the cache name of this build:
# VERSION and a digest of the files the page is made of, so that any change to them, version
# or not, gives a new cache. FILES: the files to keep on every visit; DIGEST: those and the
# rest of the page's files.
set(digest "")
foreach(file ${DIGEST})
  file(SHA256 ${SITE}/${file} sum)
  string(APPEND digest "${file} ${sum}\n")
endforeach()
string(SHA256 digest "${digest}")
string(SUBSTRING ${digest} 0 12 digest)
set(ZELGORA_WEB_STAMP "${VERSION}-${digest}")
set(ZELGORA_WEB_PRECACHE "")
foreach(file ${FILES})
  if(ZELGORA_WEB_PRECACHE)
    string(APPEND ZELGORA_WEB_PRECACHE ", ")
  endif()
  string(APPEND ZELGORA_WEB_PRECACHE "\"${file}\"")
endforeach()
configure_file(${IN} ${SITE}/sw.js @ONLY)
