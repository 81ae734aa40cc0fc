# Script mode: packs files into a deflate zip archive and writes it as a C++ byte array.
#
#   cmake -DARCHIVE_NAME=<identifier> -DARCHIVE_DIR=<folder> -DARCHIVE_FILES=<a|b|...>
#         -DARCHIVE_OUTPUT=<file.cpp> -DARCHIVE_WORK=<scratch folder> -P ZylZipArchive.cmake
#
# The entries keep the order of ARCHIVE_FILES (paths relative to ARCHIVE_DIR, '/' separated).
# The archive is made byte by byte here so that it holds nothing but names and contents: every
# entry carries the same fixed time stamp (1980-01-01 00:00) and no owner, permission or
# extended time fields, so the same files always give the same bytes, on any machine. Each file
# is deflated by CMake's own libarchive (a raw gzip stream at level 9) and the deflate data, the
# CRC-32 and the length are lifted out of that stream.
cmake_minimum_required(VERSION 3.22)

foreach(var ARCHIVE_NAME ARCHIVE_DIR ARCHIVE_FILES ARCHIVE_OUTPUT ARCHIVE_WORK)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "ZylZipArchive: ${var} is not set")
  endif()
endforeach()
string(REPLACE "|" ";" ARCHIVE_FILES "${ARCHIVE_FILES}")

# Little-endian hex of an unsigned number in 2 or 4 bytes.
function(_zyl_le out value bytes)
  math(EXPR digits "${bytes} * 2")
  math(EXPR hex "${value}" OUTPUT_FORMAT HEXADECIMAL)
  string(SUBSTRING "${hex}" 2 -1 hex)
  string(LENGTH "${hex}" len)
  while(len LESS digits)
    string(PREPEND hex "0")
    math(EXPR len "${len} + 1")
  endwhile()
  if(len GREATER digits)
    message(FATAL_ERROR "ZylZipArchive: ${value} does not fit in ${bytes} bytes")
  endif()
  set(result "")
  math(EXPR last "${digits} - 2")
  foreach(i RANGE ${last} 0 -2)
    string(SUBSTRING "${hex}" ${i} 2 byte)
    string(APPEND result "${byte}")
  endforeach()
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

# The hex of a 4-byte little-endian field read back as a number.
function(_zyl_read_le32 out hex)
  set(be "")
  foreach(i 6 4 2 0)
    string(SUBSTRING "${hex}" ${i} 2 byte)
    string(APPEND be "${byte}")
  endforeach()
  math(EXPR value "0x${be}")
  set(${out} ${value} PARENT_SCOPE)
endfunction()

list(LENGTH ARCHIVE_FILES numberOfFiles)
if(numberOfFiles EQUAL 0)
  message(FATAL_ERROR "ZylZipArchive: no files for ${ARCHIVE_NAME}")
endif()
file(MAKE_DIRECTORY "${ARCHIVE_WORK}")
set(kDosTime "0000")
set(kDosDate "2100") # 1980-01-01
set(local "")
set(central "")
set(offset 0)
set(count 0)

foreach(entry IN LISTS ARCHIVE_FILES)
  set(path "${ARCHIVE_DIR}/${entry}")
  if(NOT EXISTS "${path}" OR IS_DIRECTORY "${path}")
    message(FATAL_ERROR "ZylZipArchive: ${path} is not a file")
  endif()
  set(gz "${ARCHIVE_WORK}/entry.gz")
  file(REMOVE "${gz}")
  file(ARCHIVE_CREATE OUTPUT "${gz}" PATHS "${path}" FORMAT raw COMPRESSION GZip
       COMPRESSION_LEVEL 9)
  file(READ "${gz}" stream HEX)
  string(LENGTH "${stream}" streamLength)

  # gzip header: 10 bytes, then the optional fields its flags announce.
  string(SUBSTRING "${stream}" 0 6 magic)
  if(NOT magic STREQUAL "1f8b08")
    message(FATAL_ERROR "ZylZipArchive: no deflate stream for ${path}")
  endif()
  string(SUBSTRING "${stream}" 6 2 flagsHex)
  math(EXPR flags "0x${flagsHex}")
  set(pos 20)
  math(EXPR hasExtra "${flags} & 4")
  math(EXPR hasHeaderCrc "${flags} & 2")
  if(hasExtra)
    string(SUBSTRING "${stream}" ${pos} 4 xlenHex)
    string(SUBSTRING "${xlenHex}" 2 2 hi)
    string(SUBSTRING "${xlenHex}" 0 2 lo)
    math(EXPR pos "${pos} + 4 + 2 * 0x${hi}${lo}")
  endif()
  foreach(bit 8 16) # zero-terminated name, then comment
    math(EXPR hasField "${flags} & ${bit}")
    if(hasField)
      while(1)
        string(SUBSTRING "${stream}" ${pos} 2 byte)
        math(EXPR pos "${pos} + 2")
        if(byte STREQUAL "00")
          break()
        endif()
      endwhile()
    endif()
  endforeach()
  if(hasHeaderCrc)
    math(EXPR pos "${pos} + 4")
  endif()

  math(EXPR dataLength "${streamLength} - 16 - ${pos}")
  string(SUBSTRING "${stream}" ${pos} ${dataLength} data)
  math(EXPR trailer "${streamLength} - 16")
  string(SUBSTRING "${stream}" ${trailer} 8 crc)
  string(SUBSTRING "${stream}" ${trailer} -1 sizes)
  string(SUBSTRING "${sizes}" 8 8 sizeHex)
  _zyl_read_le32(size "${sizeHex}")
  math(EXPR compressed "${dataLength} / 2")

  string(HEX "${entry}" nameHex)
  string(LENGTH "${entry}" nameLength)
  _zyl_le(le_csize ${compressed} 4)
  _zyl_le(le_size ${size} 4)
  _zyl_le(le_nlen ${nameLength} 2)
  _zyl_le(le_offset ${offset} 4)
  set(common "14000000" "0800" "${kDosTime}" "${kDosDate}" "${crc}" "${le_csize}" "${le_size}" "${le_nlen}" "0000")
  string(JOIN "" common ${common})
  string(APPEND local "504b0304${common}${nameHex}${data}")
  string(APPEND central "504b01021400${common}00000000000000000000${le_offset}${nameHex}")
  string(LENGTH "${local}" localLength)
  math(EXPR offset "${localLength} / 2")
  math(EXPR count "${count} + 1")
endforeach()

string(LENGTH "${central}" centralLength)
math(EXPR centralSize "${centralLength} / 2")
_zyl_le(le_count ${count} 2)
_zyl_le(le_csize ${centralSize} 4)
_zyl_le(le_coffset ${offset} 4)
# End of the central directory: signature, two disk numbers, the entry counts, its size and place,
# no comment.
set(archive "${local}${central}504b0506" "00000000" "${le_count}${le_count}" "${le_csize}${le_coffset}" "0000")
string(JOIN "" archive ${archive})

string(LENGTH "${archive}" archiveLength)
math(EXPR archiveSize "${archiveLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${archive}")
# Break the array into lines of 16 bytes.
string(REPEAT "0x[0-9a-f][0-9a-f]," 16 line)
string(REGEX REPLACE "(${line})" "\\1\n    " bytes "${bytes}")

set(content "// Generated from ${ARCHIVE_DIR} by cmake/ZylZipArchive.cmake; do not edit.
#include <cstddef>

extern const unsigned char zylArchive_${ARCHIVE_NAME}[];
extern const std::size_t zylArchiveSize_${ARCHIVE_NAME};

const unsigned char zylArchive_${ARCHIVE_NAME}[] = {
    ${bytes}
};
const std::size_t zylArchiveSize_${ARCHIVE_NAME} = ${archiveSize};
")
file(CONFIGURE OUTPUT "${ARCHIVE_OUTPUT}" CONTENT "${content}" @ONLY)
file(REMOVE "${ARCHIVE_WORK}/entry.gz")
