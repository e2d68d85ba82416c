// One FILETIME in New York's local time, and Bavaria's legal holidays of 2025.
//   mcs -out:sample.exe Sample.cs QuendelTime.cs   (quendel_time.dll of the same architecture beside it)
using System;
using System.Runtime.InteropServices;
using System.Text;
using Quendel;

static class Sample
{
    static int Main()
    {
        var ft = new QtFileTime { LowDateTime = 0x393C0000, HighDateTime = 0x01DACE2B };  // 2024-07-04 16:00 UTC
        long ticks;
        IntPtr newYork;
        if (QuendelTime.quendel_time_from_filetime(ref ft, out ticks) != QuendelTime.Ok ||
            QuendelTime.quendel_time_zone_open_key("Eastern Standard Time", out newYork) != QuendelTime.Ok)
            return 1;
        var local = new QtFields { CbSize = (uint)Marshal.SizeOf(typeof(QtFields)) };
        int status = QuendelTime.quendel_time_to_local(newYork, ticks, ref local);
        QuendelTime.quendel_time_zone_close(newYork);
        if (status != QuendelTime.Ok) return 1;
        Console.WriteLine("New York: {0:D4}-{1:D2}-{2:D2} {3:D2}:{4:D2}:{5:D2} (UTC{6}{7:D2}:{8:D2}{9})", local.Year,
                          local.Month, local.Day, local.Hour, local.Minute, local.Second, local.UtcOffset < 0 ? "-" : "+",
                          Math.Abs(local.UtcOffset) / 60, Math.Abs(local.UtcOffset) % 60,
                          local.IsSummer != 0 ? ", summer time" : "");

        var days = new QtHoliday[21];
        int count, length;
        if (QuendelTime.quendel_time_holidays("BY", 2025, days, days.Length, out count) != QuendelTime.Ok) return 1;
        var name = new StringBuilder(80);
        for (int i = 0; i < count; ++i)
        {
            QuendelTime.quendel_time_holiday_name(days[i].Holiday, name, name.Capacity, out length);
            Console.WriteLine("{0:D4}-{1:D2}-{2:D2} {3}", days[i].Year, days[i].Month, days[i].Day, name);
        }
        return 0;
    }
}
