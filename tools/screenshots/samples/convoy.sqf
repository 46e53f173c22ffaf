// Convoy escort: wait until the lead truck reaches the bridge
#define BRIDGE_RADIUS 50
private ["_lead", "_escort"];
_lead = _this select 0;
_escort = _this select 1;

/* The convoy halts when the lead vehicle is lost,
   and every escort gets a fresh magazine. */
waitUntil {sleep 1; (_lead distance getMarkerPos "bridge") < BRIDGE_RADIUS or !(alive _lead)};
if (alive _lead) then {
    {_x addMagazine "Mag30_556_STANAG"} forEach units _escort;
    hint format ["%1 reached the bridge", name driver _lead];
} else {
    titleText ["The convoy is lost", "PLAIN"];
};
