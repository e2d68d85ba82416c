// P/Invoke declarations of quendel_time.dll's C interface (quendel_time.h), for .NET and Mono.
// Every function is __cdecl (CallingConvention.Cdecl) and takes UTF-16 texts (CharSet.Unicode).
// The structs are declared as the header lays them out; set CbSize to Marshal.SizeOf before each call.
using System;
using System.Runtime.InteropServices;
using System.Text;

namespace Quendel
{
    [StructLayout(LayoutKind.Sequential)]
    public struct QtFileTime
    {
        public uint LowDateTime;
        public uint HighDateTime;
    }

    [StructLayout(LayoutKind.Sequential)]
    public struct QtFields
    {
        public uint CbSize;
        public int Year, Month, Day, Hour, Minute, Second, Millisecond;
        public int DayOfWeek;  // 0 Sunday to 6 Saturday
        public int UtcOffset;  // minutes, local minus UTC
        public int IsSummer;
    }

    [StructLayout(LayoutKind.Sequential)]
    public struct QtLocalResult
    {
        public uint CbSize;
        public int Kind;  // 0 unique, 1 skipped, 2 repeated
        public long Earlier, Later;
    }

    [StructLayout(LayoutKind.Sequential)]
    public struct QtChanges
    {
        public uint CbSize;
        public int HasStart, HasEnd, Reserved;
        public long Start, End;
    }

    [StructLayout(LayoutKind.Sequential)]
    public struct QtHoliday
    {
        public int Holiday, Year, Month, Day;
    }

    [StructLayout(LayoutKind.Sequential)]
    public struct QtStamp
    {
        public int Form;     // QT_STAMP_... of quendel_time.h: 6 Unix seconds, 9 FILETIME, ...
        public int IsLocal;  // 1: a wall-clock reading, converted in the zone given
        public long Ticks;   // UTC
    }

    public static class QuendelTime
    {
        const string Dll = "quendel_time.dll";
        const CallingConvention Conv = CallingConvention.Cdecl;
        public const int Ok = 0, BufferTooSmall = 4;

        [DllImport(Dll, CallingConvention = Conv)]
        public static extern int quendel_time_version(out int version);
        [DllImport(Dll, CallingConvention = Conv, CharSet = CharSet.Unicode)]
        public static extern int quendel_time_status_text(int status, StringBuilder buffer, int capacity, out int length);
        [DllImport(Dll, CallingConvention = Conv)]
        public static extern int quendel_time_from_fields(ref QtFields utc, out long ticks);
        [DllImport(Dll, CallingConvention = Conv)]
        public static extern int quendel_time_to_fields(long ticks, ref QtFields utc);
        [DllImport(Dll, CallingConvention = Conv)]
        public static extern int quendel_time_from_filetime(ref QtFileTime ft, out long ticks);
        [DllImport(Dll, CallingConvention = Conv)]
        public static extern int quendel_time_to_filetime(long ticks, out QtFileTime ft);
        [DllImport(Dll, CallingConvention = Conv)]
        public static extern int quendel_time_from_unix(long seconds, out long ticks);
        [DllImport(Dll, CallingConvention = Conv)]
        public static extern int quendel_time_to_unix(long ticks, out long seconds);
        [DllImport(Dll, CallingConvention = Conv)]
        public static extern int quendel_time_from_ole(double date, out long ticks);
        [DllImport(Dll, CallingConvention = Conv)]
        public static extern int quendel_time_to_ole(long ticks, out double date);
        [DllImport(Dll, CallingConvention = Conv, CharSet = CharSet.Unicode)]
        public static extern int quendel_time_zone_open_key(string key, out IntPtr zone);
        [DllImport(Dll, CallingConvention = Conv)]
        public static extern int quendel_time_zone_open_machine(out IntPtr zone);
        [DllImport(Dll, CallingConvention = Conv, CharSet = CharSet.Unicode)]
        public static extern int quendel_time_zone_open_iana(string name, out IntPtr zone);
        [DllImport(Dll, CallingConvention = Conv, CharSet = CharSet.Unicode)]
        public static extern int quendel_time_zone_key(int index, StringBuilder buffer, int capacity, out int length);
        [DllImport(Dll, CallingConvention = Conv, CharSet = CharSet.Unicode)]
        public static extern int quendel_time_zone_name(IntPtr zone, int which, StringBuilder buffer, int capacity,
                                                        out int length);
        [DllImport(Dll, CallingConvention = Conv)]
        public static extern int quendel_time_zone_close(IntPtr zone);
        [DllImport(Dll, CallingConvention = Conv)]
        public static extern int quendel_time_to_local(IntPtr zone, long ticks, ref QtFields local);
        [DllImport(Dll, CallingConvention = Conv)]
        public static extern int quendel_time_from_local(IntPtr zone, ref QtFields local, ref QtLocalResult result);
        [DllImport(Dll, CallingConvention = Conv)]
        public static extern int quendel_time_is_summer(IntPtr zone, long ticks, out int summer);
        [DllImport(Dll, CallingConvention = Conv)]
        public static extern int quendel_time_changes(IntPtr zone, int year, ref QtChanges changes);
        [DllImport(Dll, CallingConvention = Conv, CharSet = CharSet.Unicode)]
        public static extern int quendel_time_format(IntPtr zone, long ticks, int flags, uint lcid, StringBuilder buffer,
                                                     int capacity, out int length);
        [DllImport(Dll, CallingConvention = Conv, CharSet = CharSet.Unicode)]
        public static extern int quendel_time_parse(IntPtr zone, string text, int flags, uint lcid, ref QtLocalResult result);
        [DllImport(Dll, CallingConvention = Conv, CharSet = CharSet.Unicode)]
        public static extern int quendel_time_read_stamp(IntPtr zone, string text, long now, [Out] QtStamp[] list,
                                                         int capacity, out int count);
        [DllImport(Dll, CallingConvention = Conv, CharSet = CharSet.Unicode)]
        public static extern int quendel_time_write_stamp(IntPtr zone, int form, long ticks, StringBuilder buffer,
                                                          int capacity, out int length);
        [DllImport(Dll, CallingConvention = Conv, CharSet = CharSet.Unicode)]
        public static extern int quendel_time_stamp_name(int form, int which, StringBuilder buffer, int capacity,
                                                         out int length);
        [DllImport(Dll, CallingConvention = Conv, CharSet = CharSet.Unicode)]
        public static extern int quendel_time_holidays(string state, int year, [Out] QtHoliday[] list, int capacity,
                                                       out int count);
        [DllImport(Dll, CallingConvention = Conv, CharSet = CharSet.Unicode)]
        public static extern int quendel_time_holiday_name(int holiday, StringBuilder buffer, int capacity, out int length);
    }
}
