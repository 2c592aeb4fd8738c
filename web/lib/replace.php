<?php
// What the replacement of a failed disk needs to know of an adapter: the
// failed and offline disks, the VDs and arrays that lost a member, where
// each disk sits, and which free disks can take a lost member's place.
declare(strict_types=1);

require_once __DIR__ . '/controller.php';

final class Replacement
{
    private const NONE = 0xFFFF;

    /** A capacity in KiB as whole GB (10^9 bytes), rounded down or up; tenths below 10 GB. */
    public static function gb(int $kib, bool $up): string
    {
        $gb = $kib * 1024 / 1e9;
        if ($gb < 10) {
            $v = ($up ? ceil($gb * 10) : floor($gb * 10)) / 10;
            return sprintf('%.1f GB', $v);
        }
        return sprintf('%d GB', (int)($up ? ceil($gb) : floor($gb)));
    }

    /**
     * Where a disk sits, as the command-line tool's "Linked at:" says it,
     * with the enclosure first when the disk is in one.
     */
    public static function slot(array $p): string
    {
        $ptype = (int)($p['ptype'] ?? 0);
        $pid = (int)($p['pid'] ?? 0);
        $port = (int)(preg_split('/\s+/', trim($p['pphy'] ?? '0'))[0] ?? 0);
        $encl = (int)($p['encl'] ?? self::NONE);
        $inEnclosure = $encl !== self::NONE && $encl !== 0xFF;
        $where = match ($ptype) {
            255 => "HBA port $port",
            3 => "expander $pid, port $port",
            2 => "PM $pid, port $port",
            12 => "HBA port $port",
            default => "device of type $ptype, ID $pid, port $port",
        };
        return ($inEnclosure ? "enclosure $encl, " : '') . $where;
    }

    /** SSD or hard disk, and the interface, of an HD_Info. */
    public static function kind(array $p): array
    {
        $ct = (int)($p['ConnectionType'] ?? 0);
        if ($ct === 0) {
            // Older records say it in HDType only.
            $t = (int)($p['HDType'] ?? 0);
            $ct = ($t & 1) ? 0x05 : (($t & 2) ? 0x09 : (($t & 4) ? 0x06 : 0));
        }
        $iface = ($ct & 0x05) === 0x05 ? 'SATA' : (($ct & 0x09) === 0x09 ? 'PATA' : (($ct & 0x06) === 0x06 ? 'SAS' : 'unknown'));
        return ['ssd' => (int)($p['HD_SSD_Type'] ?? 0) !== 0, 'iface' => $iface, 'sector' => (int)($p['BlockSize'] ?? 512)];
    }

    public static function kindWords(array $k): string
    {
        return $k['iface'] . ' ' . ($k['ssd'] ? 'SSD' : 'hard disk') . ', sector size ' . $k['sector'];
    }

    /** The first $n numbers of a blank-separated list. */
    private static function ids(string $list, int $n): array
    {
        $all = preg_split('/\s+/', trim($list));
        $out = [];
        for ($i = 0; $i < $n && $i < count($all); $i++) {
            $out[] = (int)$all[$i];
        }
        return $out;
    }

    /**
     * Everything of one adapter: 'pds' (by ID, with 'state', 'free_kib',
     * 'slot', 'kind', 'member_of'), 'targets' (VDs and arrays that lost a
     * member or are rebuilding, keyed "vd:ID" / "array:ID") and 'rc' (the
     * first failed read, 0 when all were read).
     */
    public static function survey(int $a): array
    {
        [$rc, $info] = Rpc::listAll('KX_PD_GetHDInfo', $a, [], ['id' => 'Link/Self/DevID', 'ptype' => 'Link/Parent/DevType',
            'pid' => 'Link/Parent/DevID', 'pphy' => 'Link/Parent/PhyID', 'encl' => 'Link/Self/EnclosureID', 'Model' => 'Model',
            'SerialNo' => 'SerialNo', 'Size' => 'Size', 'ConnectionType' => 'ConnectionType', 'HDType' => 'HDType',
            'HD_SSD_Type' => 'HD_SSD_Type', 'BlockSize' => 'BlockSize', 'LocateLEDStatus' => 'LocateLEDStatus']);
        [$rc2, $raid] = Rpc::listAll('KX_PD_GetHDRaidStatus', $a, [], ['HDID' => 'HDID', 'Status' => 'Status']);
        [$rc3, $free] = Rpc::listAll('KX_PD_GetFreeSpaceInfo', $a, [], ['ID' => 'ID', 'Size' => 'Size']);
        [$rc4, $vdInfo] = Rpc::listAll('KX_LD_GetInfo', $a, [], ['ID' => 'ID', 'Name' => 'Name', 'RaidMode' => 'RaidMode',
            'Status' => 'Status', 'DGID' => 'DGID', 'HDCount' => 'HDCount', 'BlockIDs' => 'BlockIDs']);
        [$rc5, $vdStatus] = Rpc::listAll('KX_LD_GetStatus', $a, [], ['LDID' => 'LDID', 'Bga' => 'Bga', 'BgaState' => 'BgaState',
            'BgaPercentage' => 'BgaPercentage']);
        [$rc6, $blocks] = Rpc::listAll('KX_BLK_GetInfo', $a, [], ['ID' => 'ID', 'HDID' => 'HDID', 'Size' => 'Size']);
        $adapter = Controller::adapterInfo($a);
        [$rc7, $arrays] = (int)($adapter['MaxDiskGroup'] ?? 0) !== 0 ? Rpc::listAll('KX_DG_GetInfo', $a) : [0, []];

        $pds = [];
        $state = $freeKiB = $blockOf = $vdAct = [];
        foreach ($raid as $r) {
            $state[(int)$r['HDID']] = Words::pdState((int)$r['Status']);
        }
        foreach ($free as $f) {
            $freeKiB[(int)$f['ID']] = (int)$f['Size'];
        }
        foreach ($blocks as $b) {
            $blockOf[(int)$b['ID']] = ['pd' => (int)$b['HDID'], 'size' => (int)$b['Size']];
        }
        foreach ($vdStatus as $s) {
            $vdAct[(int)$s['LDID']] = Words::activity((int)($s['Bga'] ?? 0), (int)($s['BgaState'] ?? 0),
                (int)($s['BgaPercentage'] ?? 0));
        }
        foreach ($info as $p) {
            $id = (int)$p['id'];
            $p['state'] = $state[$id] ?? 'unknown';
            $p['free_kib'] = $freeKiB[$id] ?? (int)($p['Size'] ?? 0);
            $p['slot'] = self::slot($p);
            $p['kind'] = self::kind($p);
            $p['member_of'] = [];
            $pds[$id] = $p;
        }
        ksort($pds);

        $targets = [];
        $arrayIds = [];
        foreach ($arrays as $dg) {
            $id = (int)$dg['DGID'];
            $arrayIds[$id] = true;
            $members = self::ids($dg['PDIDs'] ?? '', (int)($dg['PDCount'] ?? 0));
            $vdIds = array_values(array_filter(self::ids($dg['VDIDs'] ?? '', (int)($dg['VDSlotCount'] ?? 0)),
                fn($v) => $v !== self::NONE));
            $act = Words::activity((int)($dg['BgaType'] ?? 0), (int)($dg['BgaState'] ?? 0), null);
            // The array's record has no percentage: its first rebuilding VD's.
            foreach ($vdIds as $v) {
                if ($act !== null && ($vdAct[$v] ?? null) !== null && $vdAct[$v]['type'] === $act['type']) {
                    $act['percent'] = $vdAct[$v]['percent'];
                    break;
                }
            }
            $label = 'array ' . $id . ' "' . trim($dg['Name'] ?? '') . '" (' . Words::raidMode((int)($dg['RaidMode'] ?? 99)) . ')';
            $targets['array:' . $id] = self::target('array', $id, $label, (int)($dg['Status'] ?? 2),
                Words::arrayStatus((int)($dg['Status'] ?? 2)), $act, $members, (int)($dg['SmallestAvailablePDSize'] ?? 0), $pds,
                $vdIds);
        }
        foreach ($vdInfo as $v) {
            $id = (int)$v['ID'];
            $blockIds = self::ids($v['BlockIDs'] ?? '', (int)($v['HDCount'] ?? 0));
            $members = [];
            $memberKiB = 0;
            foreach ($blockIds as $b) {
                $members[] = isset($blockOf[$b]) ? $blockOf[$b]['pd'] : self::NONE;
                $memberKiB = max($memberKiB, $blockOf[$b]['size'] ?? 0);
            }
            $label = 'VD ' . $id . ' "' . trim($v['Name'] ?? '') . '" (' . Words::raidMode((int)($v['RaidMode'] ?? 99)) . ')';
            $dg = (int)($v['DGID'] ?? self::NONE);
            if (isset($arrayIds[$dg])) {
                // Its members are its array's: the array is what is rebuilt.
                foreach ($members as $m) {
                    if (isset($pds[$m])) {
                        $pds[$m]['member_of'][] = $label;
                    }
                }
                $targets['array:' . $dg]['vds'][$id] = $label;
                continue;
            }
            $st = (int)($v['Status'] ?? 99);
            $targets['vd:' . $id] = self::target('vd', $id, $label, $st === 15 ? 0 : $st, Words::vdStatus($st),
                $vdAct[$id] ?? null, $members, $memberKiB, $pds, []);
        }
        foreach ($targets as $t) {
            foreach ($t['members'] as $m) {
                if (isset($pds[$m])) {
                    $pds[$m]['member_of'][] = $t['label'];
                }
            }
        }
        foreach ($targets as $k => $t) {
            // Only what lost a member or is being rebuilt concerns this page.
            if ($t['failed'] === [] && !$t['rebuilding'] && $t['status'] === 0) {
                unset($targets[$k]);
            }
        }
        $rc = 0;
        foreach ([$rc, $rc2, $rc3, $rc4, $rc5, $rc6, $rc7] as $r) {
            if ($r !== 0) {
                $rc = $r;
                break;
            }
        }
        return ['pds' => $pds, 'targets' => $targets, 'rc' => $rc];
    }

    /** A VD or array with what the page needs to replace its lost members. */
    private static function target(string $kind, int $id, string $label, int $status, string $statusWord, ?array $act,
                                   array $members, int $memberKiB, array $pds, array $vds): array
    {
        $failed = [];
        $reference = null;
        foreach ($members as $i => $m) {
            $p = $pds[$m] ?? null;
            if ($p === null || $p['state'] === 'offline') {
                // A pulled disk is no longer listed: its place is known, not its ID.
                $failed[] = ['position' => $i, 'pd' => $p === null ? null : $m];
                if ($p !== null && $reference === null) {
                    $reference = $p['kind'];
                }
            }
        }
        // The lost member's kind, else that of the members still in place.
        foreach ($members as $m) {
            if ($reference === null && isset($pds[$m])) {
                $reference = $pds[$m]['kind'];
            }
        }
        return ['kind' => $kind, 'id' => $id, 'label' => $label, 'status' => $status, 'status_word' => $statusWord,
            'activity' => $act, 'rebuilding' => $act !== null && $act['type'] === 1, 'members' => $members,
            'failed' => $failed, 'member_kib' => $memberKiB, 'reference' => $reference,
            'vds' => array_combine($vds, $vds) ?: []];
    }

    /**
     * Why a free disk cannot take a lost member's place: plain reasons,
     * none when it can.
     * @return list<string>
     */
    public static function whyNot(array $target, array $p): array
    {
        $why = [];
        if ($p['free_kib'] < $target['member_kib']) {
            $why[] = 'too small: ' . self::gb($p['free_kib'], false) . ', needs ' . self::gb($target['member_kib'], true);
        }
        $ref = $target['reference'];
        if ($ref !== null) {
            $k = $p['kind'];
            if ($k['ssd'] !== $ref['ssd']) {
                $why[] = $k['ssd'] ? 'SSD, the member is a hard disk' : 'hard disk, the member is an SSD';
            }
            if ($k['iface'] !== $ref['iface']) {
                $why[] = $k['iface'] . ', the member is ' . $ref['iface'];
            }
            if ($k['sector'] !== $ref['sector']) {
                $why[] = 'sector size ' . $k['sector'] . ', the member has ' . $ref['sector'];
            }
        }
        return $why;
    }

    /** Free disks with the reasons each cannot replace (empty: it can). */
    public static function candidates(array $target, array $pds): array
    {
        $out = [];
        foreach ($pds as $id => $p) {
            if ($p['state'] === 'free') {
                $out[$id] = self::whyNot($target, $p);
            }
        }
        return $out;
    }

    /** Whether a lost member can be rebuilt now: degraded, not busy, its RAID level redundant. */
    public static function rebuildable(array $target): bool
    {
        return $target['status'] === 1 && $target['activity'] === null && $target['failed'] !== [];
    }

    /** Lights or darkens a disk's locate LED; the controller's status. */
    public static function locate(int $a, int $pd, bool $on): int
    {
        return Rpc::retval(Rpc::call('KX_LocateArrayDevice', ['AdapterID' => $a, 'deviceType' => 1, 'deviceId' => $pd,
            'ledStatus' => $on ? 1 : 0]));
    }

    /** Starts the rebuild of a VD (no array) or an array onto a disk; the controller's status. */
    public static function startRebuild(int $a, array $target, int $pd): int
    {
        if ($target['kind'] === 'vd') {
            return Rpc::retval(Rpc::call('KX_LD_StartRebuild', ['AdapterID' => $a, 'LD_ID' => $target['id'],
                'Rebuild_HD_ID' => $pd]));
        }
        return Rpc::retval(Rpc::call('KX_LD_DG_StartRebuild', ['AdapterID' => $a, 'ID' => $target['id'], 'RebuildType' => 0,
            'PDCount' => 1, 'PDIDs' => $pd]));
    }
}
