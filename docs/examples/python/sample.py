#!/usr/bin/env python3
"""One FILETIME in New York's local time, and Bavaria's legal holidays of 2025, through the C
interface of quendel_time.dll with ctypes (Windows; a Python of the DLL's architecture).

The functions are __cdecl: ctypes.CDLL, not WinDLL."""
import ctypes
from ctypes import POINTER, Structure, byref, c_int, c_int64, c_uint, c_ulong, c_void_p, c_wchar_p, sizeof


class Fields(Structure):
    _fields_ = [('cbSize', c_uint), ('year', c_int), ('month', c_int), ('day', c_int), ('hour', c_int),
                ('minute', c_int), ('second', c_int), ('millisecond', c_int), ('day_of_week', c_int),
                ('utc_offset', c_int), ('is_summer', c_int)]


class FileTime(Structure):
    _fields_ = [('dwLowDateTime', c_ulong), ('dwHighDateTime', c_ulong)]


class Holiday(Structure):
    _fields_ = [('holiday', c_int), ('year', c_int), ('month', c_int), ('day', c_int)]


dll = ctypes.CDLL('quendel_time.dll')
dll.quendel_time_from_filetime.argtypes = [POINTER(FileTime), POINTER(c_int64)]
dll.quendel_time_zone_open_key.argtypes = [c_wchar_p, POINTER(c_void_p)]
dll.quendel_time_zone_close.argtypes = [c_void_p]
dll.quendel_time_to_local.argtypes = [c_void_p, c_int64, POINTER(Fields)]
dll.quendel_time_holidays.argtypes = [c_wchar_p, c_int, POINTER(Holiday), c_int, POINTER(c_int)]
dll.quendel_time_holiday_name.argtypes = [c_int, c_wchar_p, c_int, POINTER(c_int)]


def check(status):
    if status != 0:
        text = ctypes.create_unicode_buffer(100)
        dll.quendel_time_status_text(status, text, 100, None)
        raise OSError(text.value)


ticks, zone = c_int64(), c_void_p()
check(dll.quendel_time_from_filetime(byref(FileTime(0x393C0000, 0x01DACE2B)), byref(ticks)))  # 2024-07-04 16:00 UTC
check(dll.quendel_time_zone_open_key('Eastern Standard Time', byref(zone)))
local = Fields(cbSize=sizeof(Fields))
try:
    check(dll.quendel_time_to_local(zone, ticks, byref(local)))
finally:
    dll.quendel_time_zone_close(zone)
off = local.utc_offset
print(f'New York: {local.year:04d}-{local.month:02d}-{local.day:02d} {local.hour:02d}:{local.minute:02d}:'
      f'{local.second:02d} (UTC{"-" if off < 0 else "+"}{abs(off) // 60:02d}:{abs(off) % 60:02d}'
      f'{", summer time" if local.is_summer else ""})')

days, count = (Holiday * 21)(), c_int()
check(dll.quendel_time_holidays('BY', 2025, days, 21, byref(count)))
name = ctypes.create_unicode_buffer(80)
for d in days[:count.value]:
    check(dll.quendel_time_holiday_name(d.holiday, name, 80, None))
    print(f'{d.year:04d}-{d.month:02d}-{d.day:02d} {name.value}')
