<?php
// Create: a VD from free disks (adapters without arrays); an array from
// free disks, or a VD in a slot of an array (adapters with arrays).
// Sizes are asked in MB, as the controller takes them.
declare(strict_types=1);
require_once __DIR__ . '/../lib/layout.php';
require_once __DIR__ . '/../lib/controller.php';

require_login();
$count = Controller::adapterCount();

/** The controller request and its parameters from the form, or an error text. */
function creation_from_post(int $count): array|string
{
    $int = fn(string $k, int $min, int $max) => filter_var($_POST[$k] ?? null, FILTER_VALIDATE_INT,
        ['options' => ['min_range' => $min, 'max_range' => $max]]);
    $a = $int('adapter', 0, max(0, $count - 1));
    $kind = $_POST['kind'] ?? '';
    $name = is_string($_POST['name'] ?? null) ? trim($_POST['name']) : '';
    $sizeMb = $int('size', 0, PHP_INT_MAX);
    if ($a === false || !in_array($kind, ['vd', 'array', 'slot'], true)) {
        return 'Choose an adapter and what to create.';
    }
    if ($name === '' || strlen($name) > 15 || !preg_match('/^[\x20-\x7e]+$/', $name)) {
        return 'The name must be 1 to 15 printable characters.';
    }
    if ($sizeMb === false) {
        return 'The size must be a whole number of MB (0: as large as possible).';
    }
    // Quick, background or no initialization, as the controller codes them.
    $init = $int('init', 0, 3);
    if ($init === false || $init === 1) {
        return 'Choose how the new disk is initialized.';
    }
    if ($kind === 'slot') {
        if (!preg_match('/^(\d{1,5}):(\d{1,3})$/', post_text('dgslot'), $m)
            || (int)$m[1] > 65534 || (int)$m[2] > 254) {
            return 'Choose an array and a slot.';
        }
        [$dg, $slot] = [(int)$m[1], (int)$m[2]];
        return ['KX_LD_Create_OnDG', ['AdapterID' => $a, 'DGID' => $dg, 'DGSlotNum' => $slot, 'Name' => $name,
            'Size' => $sizeMb, 'SectorCoefficient' => 1, 'InitializationOption' => $init]];
    }
    $mode = $int('raid', 0, 255);
    $disks = array_values(array_unique(array_filter(array_map('intval', (array)($_POST['pd'] ?? [])),
        fn($d) => $d >= 0 && $d < 65535)));
    if ($mode === false || !array_key_exists($mode, Words::RAID_MODES)) {
        return 'Choose a RAID level.';
    }
    if ($disks === [] || count($disks) > 128) {
        return 'Choose 1 to 128 physical disks.';
    }
    if ($kind === 'array') {
        return ['KX_DG_Create', ['AdapterID' => $a, 'RaidMode' => $mode, 'PDCount' => count($disks),
            'PDIDs' => implode(' ', $disks), 'Name' => $name, 'Size' => $sizeMb, 'InitializationOption' => $init]];
    }
    return ['KX_LD_Create', ['AdapterID' => $a, 'RaidMode' => $mode, 'HDCount' => count($disks),
        'HDIDs' => implode(' ', $disks), 'Name' => $name, 'Size' => $sizeMb, 'SectorCoefficient' => 1,
        'InitializationOption' => $init]];
}

$ok = $err = null;
if ($_SERVER['REQUEST_METHOD'] === 'POST') {
    require_post();
    $what = creation_from_post($count);
    if (is_string($what)) {
        $err = $what;
    } else {
        [$req, $params] = $what;
        $rc = Rpc::retval(Rpc::call($req, $params));
        $noun = $req === 'KX_DG_Create' ? 'Array' : 'VD';
        if ($rc === 0) {
            $ok = "$noun \"{$params['Name']}\" created on adapter {$params['AdapterID']}.";
        } else {
            $err = 'The controller refused the creation: ' . Words::error($rc)
                . (Rpc::$lastError !== '' ? ' (' . Rpc::$lastError . ')' : '');
        }
    }
}

function name_size_fields(string $id): string
{
    return '<label>Name <input name="name" maxlength="15" required id="name-' . $id . '"></label>'
        . '<label>Size in MB (0: as large as possible) <input name="size" value="0" id="size-' . $id . '"></label>'
        . '<label>Initialization <select name="init" id="init-' . $id . '"><option value="0">quick</option>'
        . '<option value="2">background</option><option value="3">none</option></select></label>';
}

function disk_form(int $a, string $kind, array $free): string
{
    $id = $kind . '-' . $a;
    $out = '<form method="post" action="create.php" id="create-' . $id . '">' . csrf_field()
        . '<input type="hidden" name="adapter" value="' . $a . '"><input type="hidden" name="kind" value="' . $kind . '">'
        . name_size_fields($id) . '<label>RAID level <select name="raid" id="raid-' . $id . '">';
    foreach (Words::RAID_MODES as $code => $word) {
        $out .= '<option value="' . $code . '">' . h($word) . '</option>';
    }
    $out .= '</select></label><fieldset><legend>Free physical disks</legend>';
    foreach ($free as $pd => $p) {
        $out .= '<label><input type="checkbox" name="pd[]" value="' . h($pd) . '" id="pd-' . $id . '-' . h($pd) . '"> PD '
            . h($pd) . ' ' . h(trim($p['Model'] ?? '')) . ' (' . h(Words::size((int)($p['Size'] ?? 0))) . ')</label>';
    }
    return $out . '</fieldset><button type="submit" id="submit-' . $id . '">Create</button></form>';
}

page_head('Create');
flash($ok, $err);
for ($a = 0; $a < $count; $a++) {
    $info = Controller::adapterInfo($a);
    $hasArrays = (int)($info['MaxDiskGroup'] ?? 0) !== 0;
    $free = array_filter(Controller::pds($a)['list'], fn($p) => $p['state'] === 'free');
    echo '<section><h3>' . h(Controller::adapterTitle($a, $info)) . '</h3>';
    if (!$hasArrays) {
        echo '<h4>Virtual disk from free disks</h4>', $free === [] ? '<p>No free disks.</p>' : disk_form($a, 'vd', $free);
        echo '</section>';
        continue;
    }
    echo '<h4>Virtual disk in an array slot</h4>';
    $slots = [];
    foreach (Controller::arrays($a)['list'] as $dg) {
        foreach (Controller::freeSlots($dg) as $slot => $kib) {
            $slots[] = [(int)$dg['DGID'], $slot, trim($dg['Name'] ?? ''), $kib];
        }
    }
    if ($slots === []) {
        echo '<p>No array has room for another VD.</p>';
    } else {
        echo '<form method="post" action="create.php" id="create-slot-' . $a . '">' . csrf_field()
            . '<input type="hidden" name="adapter" value="' . $a . '"><input type="hidden" name="kind" value="slot">'
            . name_size_fields('slot-' . $a) . '<label>Array and slot <select name="dgslot" id="dgslot-' . $a . '">';
        foreach ($slots as [$dg, $slot, $name, $kib]) {
            echo '<option value="' . $dg . ':' . $slot . '">array ' . $dg . ' (' . h($name) . '), '
                . 'slot ' . $slot . ', ' . h(Words::size($kib)) . ' free</option>';
        }
        echo '</select></label><button type="submit" id="submit-slot-' . $a . '">Create</button></form>';
    }
    echo '<h4>Array from free disks</h4>', $free === [] ? '<p>No free disks.</p>' : disk_form($a, 'array', $free);
    echo '</section>';
}
page_foot();
