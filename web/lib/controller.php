<?php
// What the pages show of the controllers, read through the module, and
// the words for the controllers' codes (the ones arrayctl prints).
declare(strict_types=1);

require_once __DIR__ . '/rpc.php';
// The status texts are generated at build time from the programs' own
// table: installed beside this file, or on include_path in a build tree.
if (is_file(__DIR__ . '/status_texts.php')) {
    require_once __DIR__ . '/status_texts.php';
} else {
    require_once 'status_texts.php';
}

final class Words
{
    public static function vdStatus(int $s): string
    {
        return [0 => 'functional', 1 => 'degraded', 2 => 'deleted', 4 => 'offline', 5 => 'partially optimal',
            6 => 'foreign', 7 => 'importable foreign', 8 => 'not importable foreign', 11 => 'conflicted',
            12 => 'plugin conflicted', 14 => 'using table', 15 => 'functional and initialized'][$s] ?? 'unknown';
    }

    public static function pdState(int $bits): string
    {
        if ($bits & 0x08) return 'offline';
        if ($bits & 0x04) return 'global spare';
        if ($bits & 0x40) return 'dedicated spare';
        if ($bits & 0x80) return 'foreign disk';
        if ($bits & 0x02) return 'assigned';
        if ($bits & 0x01) return 'free';
        return 'unknown';
    }

    public static function bgaType(int $t): string
    {
        return match ($t) {
            1 => 'rebuilding', 2, 4 => 'synchronizing', 8, 16, 64 => 'initializing', 32 => 'migration',
            128 => 'copy back', default => 'unknown bga action',
        };
    }

    public static function pdBgaType(int $t): string
    {
        return [1 => 'media patrol', 2 => 'data scrub'][$t] ?? 'unknown bga action';
    }

    /** An activity as the pages show it, or null when none runs or waits. */
    public static function activity(int $type, int $state, ?int $percent, bool $disk = false): ?array
    {
        if ($type === 0 || $state < 1 || $state > 5) {
            return null;
        }
        return ['type' => $type, 'type_word' => $disk ? self::pdBgaType($type) : self::bgaType($type), 'state' => $state,
            'state_word' => self::bgaState($state), 'percent' => $percent];
    }

    public static function bgaState(int $s): string
    {
        return [1 => 'running', 2 => 'aborted', 3 => 'paused', 4 => 'auto paused', 5 => 'interrupted'][$s] ?? 'none';
    }

    public const RAID_MODES = [0 => 'RAID0', 1 => 'RAID1', 5 => 'RAID5', 6 => 'RAID6', 16 => 'RAID10',
        17 => 'RAID1e', 80 => 'RAID50', 96 => 'RAID60', 15 => 'JBOD', 10 => 'tandem capacity',
        11 => 'tandem safe', 12 => 'tandem hybrid'];

    public static function raidMode(int $m): string
    {
        return self::RAID_MODES[$m] ?? 'unknown';
    }

    public static function arrayStatus(int $s): string
    {
        return $s === 0 ? 'functional' : ($s === 1 ? 'At least one PD is missing from this array' : 'offline');
    }

    /** A capacity in KiB as people read it. */
    public static function size(int $kib): string
    {
        $units = ['KiB', 'MiB', 'GiB', 'TiB', 'PiB'];
        $v = (float)$kib;
        $u = 0;
        while ($v >= 1024 && $u < count($units) - 1) {
            $v /= 1024;
            $u++;
        }
        return ($u === 0 ? (string)$kib : sprintf('%.1f', $v)) . ' ' . $units[$u];
    }

    /** A refusal as the command-line tool words it: the text and the status. */
    public static function error(int $rc): string
    {
        return StatusText::of($rc) . " (error $rc)";
    }
}

final class Controller
{
    /** The adapter count is the request's RetVal. */
    public static function adapterCount(): int
    {
        $doc = Rpc::call('KX_Adapter_GetCount', ['AdapterID' => 0]);
        return $doc === null ? 0 : min(16, Rpc::retval($doc));
    }

    /** @return array<string,string> */
    public static function adapterInfo(int $a): array
    {
        return Rpc::firstStruct(Rpc::call('KX_Adapter_GetInfo', ['AdapterID' => $a]));
    }

    /**
     * What names an adapter on a page. The module reports no model name, so
     * the PCI vendor and device, the firmware version and the serial number
     * stand for it, as the command-line tool's adapter report shows them.
     */
    public static function adapterTitle(int $a, array $info): string
    {
        if ($info === []) {
            return "Adapter $a (not readable)";
        }
        return sprintf('Adapter %d: %x-%x, firmware %s.%s.%s.%s, serial %s', $a, (int)($info['VenID'] ?? 0),
            (int)($info['DevID'] ?? 0), $info['FirmwareVersion_VerMajor'] ?? '?', $info['FirmwareVersion_VerMinor'] ?? '?',
            $info['FirmwareVersion_VerOEM'] ?? '?', $info['FirmwareVersion_VerBuild'] ?? '?', trim($info['SerialNo'] ?? ''));
    }

    /** @return array<int,int> an array's empty VD slots: slot => free KiB */
    public static function freeSlots(array $dg): array
    {
        $ids = preg_split('/\s+/', trim($dg['VDIDs'] ?? ''));
        $sizes = preg_split('/\s+/', trim($dg['VDSlotSize'] ?? ''));
        $out = [];
        for ($i = 0, $n = min(32, (int)($dg['VDSlotCount'] ?? 0)); $i < $n; $i++) {
            if ((int)($ids[$i] ?? 0) === 0xFFFF && (int)($sizes[$i] ?? 0) > 0) {
                $out[$i] = (int)$sizes[$i];
            }
        }
        return $out;
    }

    /** @return array<string,string> */
    public static function battery(int $a): array
    {
        return Rpc::firstStruct(Rpc::call('KX_BBU_GetInfo', ['AdapterID' => $a]));
    }

    /** Disks with their RAID state, by ID. */
    public static function pds(int $a): array
    {
        [$rc, $info] = Rpc::listAll('KX_PD_GetHDInfo', $a, [], ['Link_Self_DevID' => 'Link/Self/DevID',
            'Model' => 'Model', 'SerialNo' => 'SerialNo', 'Size' => 'Size']);
        [, $raid] = Rpc::listAll('KX_PD_GetHDRaidStatus', $a, [], ['HDID' => 'HDID', 'Status' => 'Status', 'DGID' => 'DGID']);
        [, $bga] = Rpc::listAll('KX_PD_GetBGAStatus', $a, [], ['HDID' => 'HDID', 'Bga' => 'Bga', 'BgaStatus' => 'BgaStatus',
            'Percentage' => 'Percentage']);
        $byId = $bgaById = [];
        foreach ($raid as $r) {
            $byId[(int)($r['HDID'] ?? -1)] = $r;
        }
        foreach ($bga as $b) {
            $bgaById[(int)($b['HDID'] ?? -1)] = Words::activity((int)($b['Bga'] ?? 0), (int)($b['BgaStatus'] ?? 0),
                (int)($b['Percentage'] ?? 0), true);
        }
        $out = [];
        foreach ($info as $p) {
            $id = (int)($p['Link_Self_DevID'] ?? -1);
            $p['id'] = $id;
            $p['state'] = isset($byId[$id]) ? Words::pdState((int)$byId[$id]['Status']) : 'unknown';
            $p['DGID'] = $byId[$id]['DGID'] ?? '';
            $p['activity'] = $bgaById[$id] ?? null;
            $out[$id] = $p;
        }
        ksort($out);
        return ['rc' => $rc, 'list' => $out];
    }

    /** VDs with their status and activity, by ID. */
    public static function vds(int $a): array
    {
        [$rc, $info] = Rpc::listAll('KX_LD_GetInfo', $a, [], ['ID' => 'ID', 'Name' => 'Name', 'RaidMode' => 'RaidMode',
            'Size' => 'Size', 'Status' => 'Status']);
        [, $status] = Rpc::listAll('KX_LD_GetStatus', $a, [], ['LDID' => 'LDID', 'Bga' => 'Bga', 'BgaState' => 'BgaState',
            'BgaPercentage' => 'BgaPercentage']);
        $st = [];
        foreach ($status as $s) {
            $st[(int)($s['LDID'] ?? -1)] = $s;
        }
        $out = [];
        foreach ($info as $v) {
            $id = (int)($v['ID'] ?? -1);
            $v['id'] = $id;
            $v['status_word'] = Words::vdStatus((int)($v['Status'] ?? 99));
            $s = $st[$id] ?? [];
            $v['activity'] = Words::activity((int)($s['Bga'] ?? 0), (int)($s['BgaState'] ?? 0), (int)($s['BgaPercentage'] ?? 0));
            $out[$id] = $v;
        }
        ksort($out);
        return ['rc' => $rc, 'list' => $out];
    }

    public static function arrays(int $a): array
    {
        [$rc, $list] = Rpc::listAll('KX_DG_GetInfo', $a);
        foreach ($list as &$dg) {
            // An array's record carries no percentage.
            $dg['activity'] = Words::activity((int)($dg['BgaType'] ?? 0), (int)($dg['BgaState'] ?? 0), null);
        }
        unset($dg);
        return ['rc' => $rc, 'list' => $list];
    }

    /** The store's change counters, joined into one text that changes when any does. */
    public static function changeStamp(): string
    {
        $doc = Rpc::call('AR_KX_EVT_GetChangeCounters');
        return $doc === null ? '' : md5(implode(',', Rpc::fields($doc->Event)));
    }

    /** Number of stored events. */
    public static function eventCount(): int
    {
        $doc = Rpc::call('AR_KX_EVT_GetEvents', ['s' => 0, 'n' => 0, 'e' => 0]);
        return $doc === null ? 0 : (int)$doc->n;
    }

    /** Events $start .. $start+$n-1 (oldest first). */
    public static function events(int $start, int $n): array
    {
        $doc = Rpc::call('AR_KX_EVT_GetEvents', ['s' => $start, 'n' => $n, 'e' => 0]);
        $out = [];
        if ($doc !== null) {
            foreach ($doc->Event as $e) {
                $out[] = Rpc::fields($e);
            }
        }
        return $out;
    }
}

final class Vocab
{
    public const CLASSES = [0 => 'adapter', 1 => 'virtual disk', 2 => 'physical disk', 3 => 'port multiplier',
        4 => 'expander', 5 => 'MDD', 6 => 'BSL', 7 => 'SAS', 8 => 'enclosure', 9 => 'battery', 10 => 'flash',
        11 => 'cache', 12 => 'miscellaneous', 13 => 'disk array', 15 => 'adapter environment'];
    public const SEVERITIES = [0 => 'UNKNOWN', 1 => 'OTHER', 2 => 'INFO', 3 => 'WARNING', 4 => 'MINOR',
        5 => 'MAJOR', 6 => 'CRITICAL', 7 => 'FATAL'];
    /** Schedule types the daemon knows. */
    public const SCHEDULE_TYPES = [0 => 'once', 1 => 'every N days', 2 => 'weekly', 3 => 'monthly'];
    /** Activities a schedule can start (the activity codes of VD status). */
    public const ACTIVITIES = [2 => 'consistency check (repairing)', 4 => 'consistency check (checking only)',
        16 => 'initialization'];

    /** Starts a scheduled activity on a VD; the controller's status. */
    public static function startActivity(int $adapter, int $vd, int $activity): int
    {
        $base = ['AdapterID' => $adapter, 'LD_ID' => $vd];
        return match ($activity) {
            2 => Rpc::retval(Rpc::call('KX_LD_StartConsistencyCheck', $base + ['Type' => 1])),
            4 => Rpc::retval(Rpc::call('KX_LD_StartConsistencyCheck', $base + ['Type' => 0])),
            16 => Rpc::retval(Rpc::call('KX_LD_StartINIT', $base + ['Init_Type' => 0])),
            default => 255,
        };
    }
}
