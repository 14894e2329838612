# Run by CPack between staging the files and building the package: every
# directory in the package becomes 0755, whatever the umask of whoever runs
# cpack (CPack creates some of them itself, with the umask's permissions).
file(GLOB_RECURSE TAVISK_STAGED LIST_DIRECTORIES true "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(path IN LISTS TAVISK_STAGED)
  if(IS_DIRECTORY "${path}" AND NOT IS_SYMLINK "${path}")
    file(CHMOD "${path}" DIRECTORY_PERMISSIONS
         OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  endif()
endforeach()
