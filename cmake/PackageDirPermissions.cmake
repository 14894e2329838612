# SPDX-License-Identifier: MIT
# Run by CPack between staging the files and building the package: every
# directory in the package becomes 0755, whatever the umask of whoever runs
# cpack (CPack creates some of them itself, with the umask's permissions).
execute_process(COMMAND find "${CPACK_TEMPORARY_DIRECTORY}" -type d -exec chmod 0755 {} +
                COMMAND_ERROR_IS_FATAL ANY)
