# The one place where a build names the vendor's endpoints. Test and demo builds
# point every one of them at the loopback fake server (tests/web/fake_server.py);
# the public build names the vendor's and the cloud disks' real hosts.
#
# The fake server is one process on one port, so in the loopback build each
# service is told apart by a path prefix that its "host" carries:
#   catalogue, vendor site      127.0.0.1:<port>/            (/box.txt, ...)
#   360 cloud disk short links  127.0.0.1:<port>/360s/<code>
#   360 cloud disk web API      127.0.0.1:<port>/share/...   (the host of the page
#                               that a short link redirects to; its API paths
#                               start at "/", so this one has no prefix)
#   Tongbupan web               127.0.0.1:<port>/tbp/link/...
#   Tongbupan short links       127.0.0.1:<port>/tbs/<code>
#   Baidu Netdisk web           127.0.0.1:<port>/baidu/api/...
# The prefixes differ in their first segment, so no service's link marks match
# another's links (the share-link resolver tells links apart by these marks).
set(TVKITBOX_LOOPBACK_PORT "18380" CACHE STRING "Port of the loopback fake server")
set(TVK_LOOPBACK_HOST "127.0.0.1:${TVKITBOX_LOOPBACK_PORT}")

if(TVKITBOX_ENDPOINTS STREQUAL "loopback")
  set(TVK_CATALOGUE_HOST "${TVK_LOOPBACK_HOST}")
  set(TVK_VENDOR_SITE "http://${TVK_LOOPBACK_HOST}/")
  set(TVK_DISK360_SHORT_HOST "${TVK_LOOPBACK_HOST}/360s")
  set(TVK_TONGBUPAN_WEB_HOST "${TVK_LOOPBACK_HOST}/tbp")
  set(TVK_TONGBUPAN_SHORT_HOST "${TVK_LOOPBACK_HOST}/tbs")
  set(TVK_BAIDU_WEB_HOST "${TVK_LOOPBACK_HOST}/baidu")
elseif(TVKITBOX_ENDPOINTS STREQUAL "public")
  set(TVK_CATALOGUE_HOST "update.tavrel.com")
  set(TVK_VENDOR_SITE "http://www.tavrel.com/")
  set(TVK_DISK360_SHORT_HOST "yunpan.cn")
  set(TVK_TONGBUPAN_WEB_HOST "www.tongbupan.com")
  set(TVK_TONGBUPAN_SHORT_HOST "t.tongbupan.com")
  set(TVK_BAIDU_WEB_HOST "pan.baidu.com")
else()
  message(FATAL_ERROR "TVKITBOX_ENDPOINTS must be loopback or public")
endif()

configure_file(${CMAKE_CURRENT_LIST_DIR}/VendorEndpoints.h.in
               ${CMAKE_BINARY_DIR}/generated/VendorEndpoints.h @ONLY)
